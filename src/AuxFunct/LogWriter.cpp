// The run log: a log file, or the message window when no file is named.
#include "AuxFunct/LogWriter.h"

#include "platform/MessageWindow.h"
#include "platform/Note.h"

#include <cstdio>

namespace {

// Shows text as the next numbered line, or opens the window first in the
// normal font (the text of that call is then not shown). A window that cannot be opened is tried
// again by the next call.
void LogToWindow(LogState& log, const std::string& text, int position) {
    if (MessageWindowOpen()) {
        ++log.logLineNo;
        MessageWindowAddLine(std::to_string(log.logLineNo) + ": " + text, position);
    } else {
        OpenMessageWindow(false);
    }
}

// Writes text as one CR LF record. The first write of the process replaces
// the file; later ones append. A file that cannot be opened loses the text
// silently, and the next call starts the file anew.
void LogToFile(LogState& log, const std::string& text) {
    std::string record = text;
    if (!record.ends_with("\r\n")) record += "\r\n";
    std::FILE* file = std::fopen(log.logFile.c_str(), log.logCreated != 0 ? "ab" : "wb");
    log.logCreated = file != nullptr ? 1 : 0;
    if (file == nullptr) return;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
}

} // namespace

int WriteLogLine(LogState& log, const std::string& text, int enable, const std::string& fileName,
                 int position, int reset) {
    if (reset != 0) {
        // The window is forgotten: the next window line opens a new one.
        CloseMessageWindow();
        log.logOn = 0;
        log.logCreated = 0;
        log.logFile.clear();
        return 0;
    }
    // A launcher that waits for this run hears of it, logged or not.
    CaptureStatusLine(text);
    if (enable != 0) log.logOn = 1;
    if (log.logOn == 0) return 0;
    if (!fileName.empty() && log.logFile.empty()) log.logFile = fileName;
    if (log.logFile.empty()) {
        LogToWindow(log, text, position);
    } else {
        LogToFile(log, text);
    }
    return 1;
}
