#include "platform/win32/gui/WindowClass.h"

#include <set>
#include <string>

const char* WindowClass(const char* name, WNDPROC procedure) {
    static std::set<std::string> registered;
    if (registered.insert(name).second) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
    }
    return name;
}
