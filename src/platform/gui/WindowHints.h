// Window properties that the window manager must find when it first handles
// a window: it reads most of them only then.
#pragma once

#include <FL/Fl_Window.H>

// Shows window with the properties that setHints sets on its X window. The
// server is held while the window is created, mapped and given them, so that
// the window manager's first look at it finds them.
void ShowWithHints(Fl_Window& window, void (*setHints)(Fl_Window& window));

// A fixed dialog: typed as a dialog, and its frame offers moving and closing
// only (no resizing, minimising or maximising).
void HintFixedDialog(Fl_Window& window);

// A user time of 0 asks the window manager not to give the window the
// keyboard focus when it appears.
void HintNoFocusOnMap(Fl_Window& window);
