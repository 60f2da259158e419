// Run-level state of the process; it survives from one resident run to the
// next.
#pragma once

#include <cstdint>
#include <string>

struct RunState {
    std::string CmdLn;         // the command line being executed
    std::string startDir;      // start folder, always ending in "/"
    std::int32_t exitCode = 0; // process exit code and status of file operations
    std::int32_t runCount = 0; // command lines executed so far
    std::int8_t rerunF = 0;    // this run was started by a command line received while resident
    std::int8_t handOverF = 0; // another instance is resident and gets this command line
    std::string scriptText;    // the input before a run, the complete output after it
    std::string headerText;    // comment header handed to the script run
    std::string clipText;      // the last clipboard text taken as script input
    std::string lastClipOut;   // the last output text this process put on the clipboard
};
