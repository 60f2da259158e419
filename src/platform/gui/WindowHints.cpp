#include "platform/gui/WindowHints.h"

#include <FL/Fl.H>
#include <FL/x.H>

namespace {

void SetAtomProperty(Fl_Window& window, const char* property, Atom type, const unsigned long* values, int count) {
    XChangeProperty(fl_display, fl_xid(&window), XInternAtom(fl_display, property, False), type, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(values), count);
}

} // namespace

void ShowWithHints(Fl_Window& window, void (*setHints)(Fl_Window& window)) {
    Fl::check(); // nothing of ours is pending while the server is held
    XGrabServer(fl_display);
    window.show();
    setHints(window);
    XUngrabServer(fl_display);
    XFlush(fl_display);
}

void HintFixedDialog(Fl_Window& window) {
    const unsigned long dialog = XInternAtom(fl_display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    SetAtomProperty(window, "_NET_WM_WINDOW_TYPE", XA_ATOM, &dialog, 1);
    // The Motif hints: which functions and decorations the frame offers.
    enum : unsigned long { kFunctionsGiven = 1, kDecorationsGiven = 2 };
    enum : unsigned long { kMove = 4, kClose = 32 };
    enum : unsigned long { kBorder = 2, kTitle = 8, kMenu = 16 };
    const unsigned long motif[5] = {kFunctionsGiven | kDecorationsGiven, kMove | kClose, kBorder | kTitle | kMenu, 0, 0};
    const Atom motifAtom = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    SetAtomProperty(window, "_MOTIF_WM_HINTS", motifAtom, motif, 5);
}

void HintNoFocusOnMap(Fl_Window& window) {
    const unsigned long zero = 0;
    SetAtomProperty(window, "_NET_WM_USER_TIME", XA_CARDINAL, &zero, 1);
}
