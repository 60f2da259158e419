// Lazy connection to the X display (directly or through XWayland).
#include "platform/Display.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>

namespace {

bool opened = false;

// Opens the display named by DISPLAY and hands the connection to FLTK. FLTK
// ends the process when it cannot open a display itself, so it is only given
// one that is known to work.
bool OpenDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    fl_open_display(display);
    opened = true;
    return true;
}

} // namespace

bool DisplayAvailable() {
    static const bool available = OpenDisplay();
    return available;
}

bool DisplayOpened() { return opened; }

void ServeWindowEvents(double seconds) {
    if (DisplayAvailable()) Fl::wait(seconds);
}
