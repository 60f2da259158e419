// The desktop's file and folder requesters.
#pragma once

#include <string>

// A file requester titled title offering the filters (lines of
// "name\tpattern", the first one selected). The user may also name a file
// that does not exist yet. The full name of the chosen file, or empty when
// cancelled or without a display. The current folder is left as it was.
std::string ChooseFile(const char* title, const char* filters);

// A folder requester titled title that starts at startFolder. The chosen
// folder with "/" at its end, or empty when cancelled or without a display.
std::string ChooseFolder(const char* title, const std::string& startFolder);
