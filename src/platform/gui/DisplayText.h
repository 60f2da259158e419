// Conversion of the program's 8-bit CR LF texts into what FLTK widgets show.
#pragma once

#include <string>

// text with CR LF and lone CR turned into LF; bytes that do not form UTF-8 are
// taken as Latin-1 characters and encoded as UTF-8.
std::string DisplayText(const std::string& text);
