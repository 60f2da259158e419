// What the Windows build's own windows share: their classes and the text of
// a control.
#pragma once

#include <windows.h>

#include <string>

// Registers the class name with the window procedure proc on the first call
// for that name (arrow cursor, the dialog face as background) and returns
// the name, ready for CreateWindowExA. A class that cannot be registered
// makes the window creation fail, which every caller handles.
const char* GuiWindowClass(const char* name, WNDPROC proc);

// The text of a window or control, as its bytes.
std::string WindowText(HWND hwnd);
