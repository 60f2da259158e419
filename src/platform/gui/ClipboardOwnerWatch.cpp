#include "platform/gui/ClipboardOwnerWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace {

::Display* xfixes = nullptr;
int xfixesEventBase = 0;

} // namespace

int StartClipboardOwnerWatch() {
    xfixes = XOpenDisplay(nullptr);
    if (xfixes == nullptr) return -1;
    int errorBase = 0;
    if (!XFixesQueryExtension(xfixes, &xfixesEventBase, &errorBase)) {
        StopClipboardOwnerWatch();
        return -1;
    }
    XFixesSelectSelectionInput(xfixes, DefaultRootWindow(xfixes), XInternAtom(xfixes, "CLIPBOARD", False),
                               XFixesSetSelectionOwnerNotifyMask);
    // Once the server has the request, every later owner is heard of.
    XSync(xfixes, False);
    return ConnectionNumber(xfixes);
}

bool ClipboardOwnerChanged() {
    bool changed = false;
    while (XPending(xfixes) > 0) {
        XEvent event;
        XNextEvent(xfixes, &event);
        changed = changed || event.type == xfixesEventBase + XFixesSelectionNotify;
    }
    return changed;
}

void StopClipboardOwnerWatch() {
    if (xfixes == nullptr) return;
    XCloseDisplay(xfixes);
    xfixes = nullptr;
}
