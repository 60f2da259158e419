// The desktop of the Windows build. It is there when the process's window
// station is interactive and a top-level window can be made in it; a
// service's window station, or Wine without an X display, has none, and the
// run then goes on as on Linux without a display.
#include "platform/Display.h"

#include <windows.h>

#include "platform/win32/ThreadMessages.h"

namespace {

bool ProbeDesktop() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed) ||
        (flags.dwFlags & WSF_VISIBLE) == 0)
        return false;
    const HWND probe = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

int desktop = -1; // -1 not probed yet, else 0 or 1

} // namespace

bool DisplayAvailable() {
    if (desktop < 0) desktop = ProbeDesktop() ? 1 : 0;
    return desktop == 1;
}

bool DisplayOpened() { return desktop == 1; }

// Serves the messages of this thread's windows, waiting up to seconds for
// the first one.
void ServeWindowEvents(double seconds) {
    if (desktop != 1) return;
    ServeThreadMessages(nullptr, static_cast<DWORD>(seconds * 1000.0));
}
