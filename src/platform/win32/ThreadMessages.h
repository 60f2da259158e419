// The messages of this thread's windows.
#pragma once

#include <windows.h>

// Waits up to timeoutMs (INFINITE: without a bound) until a message for
// this thread arrives or, when wake is given, until wake is set; then
// serves every message that is there.
void ServeThreadMessages(HANDLE wake, DWORD timeoutMs);
