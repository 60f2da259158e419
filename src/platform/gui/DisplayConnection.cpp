// The connection to the X display (directly or through XWayland).
#include "platform/gui/DisplayConnection.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/Display.h"

bool OpenDisplayConnection() {
    // FLTK ends the process when it cannot open a display itself, so it is
    // only given one that is known to work.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    fl_open_display(display);
    return true;
}

void ServeWindowEvents(double seconds) { Fl::wait(seconds); }
