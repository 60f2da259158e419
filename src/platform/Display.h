// Access to the desktop. The display connection is opened lazily, on the
// first need of a window, a dialog or a picture, through the window module
// (GuiModule.h), so a run that needs none never touches it nor loads the
// module.
#pragma once

// True when a display can be reached; opens the connection on the first call.
bool DisplayAvailable();

// True when the display connection is open, without opening it.
bool DisplayOpened();

// Serves pending window events (drawing included), waiting up to seconds for
// the first one. Does nothing without a display.
void ServeWindowEvents(double seconds);
