// The text of a window or control of the Windows build.
#pragma once

#include <windows.h>

#include <string>

// The text of hwnd, as its bytes.
std::string WindowText(HWND hwnd);
