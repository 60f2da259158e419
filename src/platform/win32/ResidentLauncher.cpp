// The launcher's side of the resident window: finding "Tessara TSR",
// handing a command line to its "Static" child with WM_SETTEXT, and asking
// the instance to end with WM_CLOSE. Every wait is bounded.
#include "platform/MailboxClient.h"
#include "platform/MailboxSocket.h"

#include "platform/win32/ResidentSignals.h"

namespace {

constexpr UINT kAnswerMs = 5000;      // the instance's window thread answers at once
constexpr DWORD kCloseWaitMs = 10000; // the end, after the request and after each run
constexpr long kNoStatusControl = -9; // the window has no "Static" child

HWND FindInstance() { return FindWindowA(kResidentClass, kResidentTitle); }

LONG_PTR RunsBeforeClose(HWND window) { return reinterpret_cast<LONG_PTR>(GetPropA(window, kRunsProperty)); }

// Waits until the instance's process has ended; the wait starts anew after
// each run the instance reports. False when it is still there.
bool WaitForEnd(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    LONG_PTR runs = RunsBeforeClose(window);
    bool ended = false;
    for (;;) {
        if (process != nullptr) {
            ended = WaitForSingleObject(process, kCloseWaitMs) == WAIT_OBJECT_0;
        } else {
            // Without a handle on the process, the window's end tells.
            for (DWORD waited = 0; waited < kCloseWaitMs && IsWindow(window); waited += 20) Sleep(20);
            ended = !IsWindow(window);
        }
        const LONG_PTR now = IsWindow(window) ? RunsBeforeClose(window) : runs;
        if (ended || now == runs) break;
        runs = now;
    }
    if (process != nullptr) CloseHandle(process);
    return ended;
}

} // namespace

bool FindResidentWindow() { return FindInstance() != nullptr; }

// A program's command line holds at most 32,767 characters; a longer line
// (a stored one repeated with /rep) is not handed over.
std::size_t MaxHandOverBytes() { return 32767; }

HandOverResult HandOverCommandLine(const std::string& line, bool wait) {
    HandOverResult result;
    const HWND window = FindInstance();
    if (window == nullptr) return result; // Gone
    const HWND statusControl = FindWindowExA(window, nullptr, "Static", nullptr);
    if (statusControl == nullptr) {
        result.status = HandOverResult::Failed;
        result.error = kNoStatusControl;
        return result;
    }
    DWORD_PTR accepted = 0;
    SetLastError(0);
    if (!SendMessageTimeoutA(statusControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &accepted)) {
        const DWORD error = GetLastError();
        result.status = IsWindow(window) ? HandOverResult::Failed : HandOverResult::Gone;
        result.error = error != 0 ? static_cast<int>(error) : ERROR_TIMEOUT;
        return result;
    }
    if (accepted == 0) {
        result.status = HandOverResult::Refused;
        result.reason = "the instance is ending";
        return result;
    }
    result.status = HandOverResult::Accepted;
    // The window protocol tells a launcher that its line was taken, not when
    // it has run.
    if (wait) result.reason = "the Windows build cannot wait for the run (/sync) yet";
    return result;
}

CloseOutcome CloseResidentInstance(std::string& why) {
    const HWND window = FindInstance();
    if (window == nullptr) return CloseOutcome::Ended;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &ignored)) {
        if (!IsWindow(window)) return CloseOutcome::Ended;
        why = "the resident instance does not answer";
        return CloseOutcome::NotAnswering;
    }
    if (WaitForEnd(window) && FindInstance() == nullptr) return CloseOutcome::Ended;
    why = "the resident instance is still busy with the lines handed over before; it ends after them";
    return CloseOutcome::Busy;
}
