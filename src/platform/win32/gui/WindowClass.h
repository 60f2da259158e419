// Window classes of the program's own windows, registered on first use.
#pragma once

#include <windows.h>

// Registers the class name with procedure once for the process (arrow
// cursor, the dialog background colour) and returns name.
const char* WindowClass(const char* name, WNDPROC procedure);
