// The waiting of the resident instance: one auto-reset event, set by the
// resident window's thread and the console's control handler, waited for
// with MsgWaitForMultipleObjects so that window messages of this thread are
// served too. An idle instance uses no processor time.
#include "platform/ResidentWait.h"

#include <atomic>
#include <cstdio>

#include "platform/win32/ResidentSignals.h"
#include "platform/win32/ThreadMessages.h"

namespace {

HANDLE wake = nullptr;
std::atomic<bool> endRequested{false};
std::atomic<bool> clipboardChanged{false};

BOOL WINAPI OnConsoleControl(DWORD) {
    RequestResidentEnd();
    return TRUE;
}

} // namespace

void WakeResident() {
    if (wake != nullptr) SetEvent(wake);
}

void RequestResidentEnd() {
    endRequested = true;
    WakeResident();
}

void MarkClipboardChange() {
    clipboardChanged = true;
    WakeResident();
}

bool PrepareResidentWait() {
    if (wake == nullptr) wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (wake == nullptr) return false;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    return true;
}

// A console answer waits on standard input only where it is a console.
void DetachResidentInput() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE || GetFileType(input) == FILE_TYPE_CHAR) return;
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (nothing == INVALID_HANDLE_VALUE) return;
    SetStdHandle(STD_INPUT_HANDLE, nothing);
    std::freopen("NUL", "rb", stdin);
}

// The loop's wake is an event, not a descriptor: there is none to hand out.
int ResidentWakeFd() { return -1; }

void WaitForResidentWake() {
    ServeThreadMessages(wake, INFINITE);
}

bool TakeResidentEndRequest() { return endRequested.exchange(false); }

bool TakeClipboardChange() { return clipboardChanged.exchange(false); }
