// Window classes of the Windows build's own top-level windows.
#pragma once

#include <windows.h>

// Registers the class name with the window procedure proc on the first call
// for that name (arrow cursor, the dialog face as background) and returns
// the name, ready for CreateWindowExA. A class that cannot be registered
// makes the window creation fail, which every caller handles.
const char* GuiWindowClass(const char* name, WNDPROC proc);
