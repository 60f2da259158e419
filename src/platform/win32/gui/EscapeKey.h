// Escape in a window's controls: the keys go to the control that has the
// focus, not to the window, so each control passes Escape on as a close
// request of its top-level window.
#pragma once

#include <windows.h>

// From now on Escape typed into control posts WM_CLOSE to its top-level
// window (after the current message is handled) and goes no further.
void CloseOnEscape(HWND control);
