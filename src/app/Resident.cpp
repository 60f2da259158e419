#include "app/Resident.h"

#include <cstdio>

#include "AuxFunct/StatusCodes.h"
#include "app/CommandLine.h"
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

// Starts watching the clipboard once /gclp is in force.
void WatchClipboard(const ProcessState& ps) {
    static bool tried = false;
    if (!ps.opt.getFromClpF || tried) return;
    tried = true;
    if (!StartClipboardWatch(ResidentWakeFd()))
        Note("the clipboard cannot be watched (it needs wl-paste under Wayland, or a display with xclip or xsel); "
             "new clipboard texts are not taken");
}

// Opens the mailbox and, for /tsrv, the window. False when the process
// cannot be resident; the reason goes to standard error. With /gclp the
// clipboard is watched before the mailbox opens, so that a text copied once
// the instance can be found is taken.
bool BecomeResident(ProcessState& ps) {
    std::string why = "the resident loop cannot wait for messages";
    const bool waits = PrepareResidentWait();
    if (waits) WatchClipboard(ps);
    if (!waits || !OpenMailbox(ResidentWakeFd(), why)) {
        StopClipboardWatch();
        Note(why + "; the process does not stay resident");
        return false;
    }
    SetLineEndsInstance(LineAsksForHelp);
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

// Runs a command line handed over, from the parse step on, and reports the
// run to its launcher when that one waits for it. True when it ended the
// process.
bool RunReceivedLine(ProcessState& ps, const MailboxRequest& request) {
    SetResidentStatus(request.line);
    FlashWindowTimes(3);
    ps.run.rerunF = 1;
    ps.run.CmdLn = request.line;
    LogLine(ps.log, "      Received SendMessage with CommandLine: \"" + ps.run.CmdLn + "\"", ps.opt.logF);
    SetResidentStatus(kWaitingStatus);
    ps.run.exitCode = kStatusOk;
    if (request.wait) StartNoteCapture();
    const bool ended = RunCycle(ps);
    FinishMailboxRequest(request, ps.run.exitCode, request.wait ? EndNoteCapture() : std::string());
    return ended;
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
    RunAndDeliver(ps);
    return true;
}

// After a received line ended the process: the mailbox takes no more lines,
// and those it took before run first. (A line with /h is known to the
// mailbox, which takes none after it; this covers any other end.) The
// process keeps the exit code of the line that ended it.
void RunLinesLeft(ProcessState& ps) {
    const std::int32_t exitCode = ps.run.exitCode;
    QueueMailboxClose();
    for (;;) {
        MailboxRequest request;
        if (!TakeMailboxRequest(request)) {
            WaitForResidentWake();
            continue;
        }
        if (request.close) break;
        RunReceivedLine(ps, request);
    }
    ps.run.exitCode = exitCode;
}

} // namespace

bool CheckResidentInstance(ProcessState& ps) {
    ps.run.handOverF = 0;
    if (ps.residentF || !FindResidentWindow()) return false;
    if (!ps.opt.quitF) {
        ps.run.handOverF = 1;
        return false;
    }
    std::string why;
    const bool ended = CloseResidentInstance(why) == CloseOutcome::Ended;
    if (ended) ps.run.exitCode = kInstanceQuit;
    else Note(why);
    if (ps.opt.InpF) return false;
    ps.run.exitCode = ended ? kInstanceQuit : kInstanceNotEnded;
    return true;
}

bool HandOver(ProcessState& ps) {
    if (ps.residentF) return false;
    const std::string& line = ps.run.CmdLn;
    if (line.size() > MaxHandOverBytes()) {
        Note("the command line is " + std::to_string(line.size()) + " bytes long; lines over " +
             std::to_string(MaxHandOverBytes()) + " bytes are not handed to the resident instance");
        ps.run.exitCode = kHandOverRefused;
        return true;
    }
    const HandOverResult result = HandOverCommandLine(line, ps.opt.syncF != 0);
    switch (result.status) {
    case HandOverResult::Accepted:
        ps.run.exitCode = kStatusOk;
        if (!ps.opt.syncF) return true;
        // The run's notes, as a run of its own would have written them.
        if (!result.reported) {
            Note("the command line was handed over, but " + result.reason);
            ps.run.exitCode = result.error;
            return true;
        }
        std::fwrite(result.notes.data(), 1, result.notes.size(), stderr);
        std::fflush(stderr);
        ps.run.exitCode = result.exitCode;
        return true;
    case HandOverResult::Refused:
        Note("the resident instance did not take the command line: " + result.reason);
        ps.run.exitCode = kHandOverRefused;
        return true;
    case HandOverResult::Failed:
        Note("the command line was not handed to the resident instance (it does not run): " + result.reason);
        ps.run.exitCode = result.error;
        return true;
    case HandOverResult::Gone:
        break;
    }
    return false;
}

bool StayResident(ProcessState& ps) {
    LogLine(ps.log, ps.opt.tsrF ? "      Terminate Stay Resident..." : "      Terminate Stay Resident Visible...");
    if (!BecomeResident(ps)) {
        if (ps.run.exitCode == kStatusOk) ps.run.exitCode = kNotResident;
        return false;
    }
    for (;;) {
        // An end asked for by a signal or a window waits behind the command
        // lines handed over before it.
        if (TakeResidentEndRequest()) QueueMailboxClose();
        MailboxRequest request;
        if (TakeMailboxRequest(request)) {
            if (request.close) break;
            if (RunReceivedLine(ps, request)) {
                RunLinesLeft(ps);
                LeaveResident(ps);
                return true;
            }
            continue;
        }
        WatchClipboard(ps);
        if (TakeClipboardChange() && ps.opt.getFromClpF && RunClipboardText(ps)) continue;
        WaitForResidentWake();
    }
    LeaveResident(ps);
    return false;
}
