// Access to the desktop. The display connection is opened lazily, on the
// first need of a window, a dialog or a picture, so a run that needs none
// never touches it.
#pragma once

// True when a display can be reached; opens the connection on the first call.
bool DisplayAvailable();
