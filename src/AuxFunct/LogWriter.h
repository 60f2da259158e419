// The run log: the program's single channel for status messages.
#pragma once

#include <cstdint>
#include <string>

struct LogState {
    std::int8_t logOn = 0;       // logging is switched on
    std::string logFile;         // log file in use; empty: the message window is used
    std::int32_t logCreated = 0; // the log file was created in this process and the last open succeeded
    std::int32_t logLineNo = 0;  // lines added to the message window so far; never reset
};

// text: the message; enable: non-zero switches logging on; fileName: names the
// log file when none is set yet; position: 0 inserts as the first line of the
// message window, -1 after the last; reset: non-zero forgets the switch, the
// file and the window. Returns 1 when the text was logged or the window was
// opened, 0 otherwise.
int WriteLogLine(LogState& log, const std::string& text, int enable, const std::string& fileName,
                 int position, int reset);

// The common case: a status line, logged when logging is on (enable non-zero
// switches it on), with no file name to offer and no reset.
inline int LogLine(LogState& log, const std::string& text, int enable = 0) {
    return WriteLogLine(log, text, enable, "", 0, 0);
}
