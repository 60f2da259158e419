#pragma once

#include <string>
#include <vector>

// The program from start to end: loads the numeric library, joins args (the
// process parameters without the program name) into the command line, parses
// and runs it. Returns the process exit code.
int RunProgram(const std::vector<std::string>& args);
