#include "platform/gui/EventWait.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "platform/gui/MessageWindowState.h"

namespace {

bool endRequested = false;

void WatchCallback(int, void* ready) { reinterpret_cast<void (*)()>(ready)(); }

// Closing the message window, or Escape in it, while the instance waits
// ends the instance; every other event goes its usual way.
int DispatchWhileIdle(int event, Fl_Window* window) {
    const bool closing = event == FL_CLOSE || (event == FL_KEYBOARD && Fl::event_key() == FL_Escape);
    if (closing && window != nullptr && IsMessageWindow(window)) {
        RequestWindowEnd();
        return 1;
    }
    return Fl::handle_(event, window);
}

} // namespace

void WatchFd(int fd, void (*ready)()) { Fl::add_fd(fd, FL_READ, WatchCallback, reinterpret_cast<void*>(ready)); }

void UnwatchFd(int fd) { Fl::remove_fd(fd); }

void WaitWhileIdle() {
    Fl::event_dispatch(DispatchWhileIdle);
    Fl::wait(1e20);
    Fl::event_dispatch(nullptr);
}

void RequestWindowEnd() { endRequested = true; }

bool TakeWindowEndRequest() {
    const bool requested = endRequested;
    endRequested = false;
    return requested;
}
