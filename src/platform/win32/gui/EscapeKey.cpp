#include "platform/win32/gui/EscapeKey.h"

#include <commctrl.h>

namespace {

LRESULT CALLBACK EscapeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if ((message == WM_KEYDOWN && wParam == VK_ESCAPE) || (message == WM_CHAR && wParam == 27)) {
        if (message == WM_KEYDOWN) PostMessageA(GetAncestor(hwnd, GA_ROOT), WM_CLOSE, 0, 0);
        return 0; // an edit field would beep on the character
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, EscapeProc, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void CloseOnEscape(HWND control) { SetWindowSubclass(control, EscapeProc, 1, 0); }
