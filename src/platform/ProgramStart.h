// The start of the process: its standard streams and its command line.
#pragma once

#include <string>
#include <vector>

// Prepares the standard streams (bytes pass through them unchanged) and
// returns the command line after the program name: the arguments as the
// shell split them on Linux; on Windows the rest of the process's command
// line as one piece, so that its quotes and blanks stay as they were typed.
std::vector<std::string> ProgramArguments(int argc, char** argv);
