#pragma once

#include <string>
#include <vector>

#include "app/ProcessState.h"

// The program from start to end: loads the numeric library, joins args (the
// process parameters without the program name) into the command line, parses
// and runs it. Returns the process exit code.
int RunProgram(const std::vector<std::string>& args);

// One cycle from the parse step: parses CmdLn, acts on what comes before a
// run (resident check and hand-over, help, flags, setup window) and runs the
// command line. True when the process is to end at once with exitCode.
bool RunCycle(ProcessState& ps);
