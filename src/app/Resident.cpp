#include "app/Resident.h"

#include <cerrno>
#include <cstring>

#include "AuxFunct/StatusCodes.h"
#include "app/RunDriver.h"
#include "app/RunSteps.h"
#include "platform/Clipboard.h"
#include "platform/ClipboardWatch.h"
#include "platform/MailboxClient.h"
#include "platform/MailboxServer.h"
#include "platform/MailboxSocket.h"
#include "platform/Note.h"
#include "platform/ResidentWait.h"
#include "platform/ResidentWindow.h"

namespace {

// Opens the mailbox and, for /tsrv, the window. False when the process
// cannot be resident; the reason goes to standard error.
bool BecomeResident(ProcessState& ps) {
    std::string why = "the resident loop cannot wait for messages";
    if (!PrepareResidentWait() || !OpenMailbox(ResidentWakeFd(), why)) {
        Note(why + "; the process does not stay resident");
        return false;
    }
    ps.residentF = 1;
    DetachResidentInput();
    if (!ps.opt.tsrF && ps.opt.tsrvF && !OpenResidentWindow())
        Note("no display; the window \"Tessara TSR\" is not shown");
    return true;
}

void LeaveResident(ProcessState& ps) {
    StopClipboardWatch();
    CloseResidentWindow();
    CloseMailbox();
    ps.residentF = 0;
}

// Starts watching the clipboard once /gclp is in force.
void WatchClipboard(const ProcessState& ps) {
    static bool tried = false;
    if (!ps.opt.getFromClpF || tried) return;
    tried = true;
    if (!StartClipboardWatch(ResidentWakeFd()))
        Note("the clipboard cannot be watched (it needs wl-paste under Wayland, or a display with xclip or xsel); "
             "new clipboard texts are not taken");
}

// Runs a command line handed over, from the parse step on. True when it
// ended the process.
bool RunReceivedLine(ProcessState& ps, const std::string& line) {
    SetResidentStatus(line);
    FlashWindowTimes(3);
    ps.run.rerunF = 1;
    ps.run.CmdLn = line;
    LogLine(ps.log, "      Received SendMessage with CommandLine: \"" + ps.run.CmdLn + "\"", ps.opt.logF);
    SetResidentStatus(kWaitingStatus);
    ps.run.exitCode = kStatusOk;
    return RunCycle(ps);
}

// Runs a new clipboard text with the options of the run before, from the
// delete step on. False when the clipboard holds nothing new.
bool RunClipboardText(ProcessState& ps) {
    RunState& run = ps.run;
    run.clipText = ClipboardGetText();
    if (run.clipText.empty() || run.clipText == run.lastClipOut) return false;
    FlashWindowTimes(3);
    ClipboardSetText("");
    run.rerunF = 1;
    LogLine(ps.log, "      Received Clipboard data (" + std::to_string(run.clipText.size()) + " chars)", ps.opt.logF);
    SetResidentStatus(kWaitingStatus);
    run.scriptText = run.clipText;
    run.exitCode = kStatusOk;
    ps.keepOutputF = false;
    RunAndDeliver(ps);
    return true;
}

} // namespace

bool CheckResidentInstance(ProcessState& ps) {
    ps.run.handOverF = 0;
    if (ps.residentF || !FindResidentWindow()) return false;
    if (!ps.opt.quitF) {
        ps.run.handOverF = 1;
        return false;
    }
    if (CloseResidentInstance()) ps.run.exitCode = kInstanceQuit;
    if (ps.opt.InpF) return false;
    ps.run.exitCode = kInstanceQuit;
    return true;
}

bool HandOver(ProcessState& ps) {
    if (ps.residentF) return false;
    const std::string& line = ps.run.CmdLn;
    if (line.size() > kMaxHandOver) {
        Note("the command line is " + std::to_string(line.size()) + " bytes long; lines over " +
             std::to_string(kMaxHandOver) + " bytes are not handed to the resident instance");
        ps.run.exitCode = kHandOverRefused;
        return true;
    }
    const HandOverResult result = HandOverCommandLine(line);
    switch (result.status) {
    case HandOverResult::Accepted:
        ps.run.exitCode = kStatusOk;
        return true;
    case HandOverResult::Refused:
        Note("the resident instance did not take the command line: " + result.reason);
        ps.run.exitCode = kHandOverRefused;
        return true;
    case HandOverResult::Failed:
        Note(std::string("the command line could not be handed to the resident instance: ") +
             std::strerror(result.error));
        ps.run.exitCode = result.error != 0 ? result.error : EIO;
        return true;
    case HandOverResult::Gone:
        break;
    }
    return false;
}

bool StayResident(ProcessState& ps) {
    LogLine(ps.log, ps.opt.tsrF ? "      Terminate Stay Resident..." : "      Terminate Stay Resident Visible...");
    if (!BecomeResident(ps)) return false;
    for (;;) {
        // An end asked for by a signal or a window waits behind the command
        // lines handed over before it.
        if (TakeResidentEndRequest()) QueueMailboxClose();
        MailboxRequest request;
        if (TakeMailboxRequest(request)) {
            if (request.close) break;
            if (RunReceivedLine(ps, request.line)) {
                LeaveResident(ps);
                return true;
            }
            ReportRunToClosers();
            continue;
        }
        WatchClipboard(ps);
        if (TakeClipboardChange() && ps.opt.getFromClpF && RunClipboardText(ps)) continue;
        WaitForResidentWake();
    }
    LeaveResident(ps);
    return false;
}
