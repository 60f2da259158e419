#include "platform/win32/gui/WindowClass.h"

const char* GuiWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA known{};
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, name, &known)) return name;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
    return name;
}
