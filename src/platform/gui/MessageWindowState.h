// What the module's other windows ask of the message window.
#pragma once

// True when the user closed the window with its close box and it was not
// closed by the program since.
bool MessageWindowClosedByUser();

// True when window (an FLTK window) is the message window.
bool IsMessageWindow(const void* window);
