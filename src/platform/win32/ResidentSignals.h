// What the resident window's thread tells the resident loop of the Windows
// build: each call sets what happened and wakes the loop's wait.
#pragma once

#include <windows.h>

// The class and title of the resident window, by which launchers find it.
inline constexpr const char* kResidentClass = "WindowClass_0";
inline constexpr const char* kResidentTitle = "Tessara TSR";
// The window property that counts the runs done since a close request.
inline constexpr const char* kRunsProperty = "TessaraRunsBeforeClose";

// Wakes the loop: a request was queued.
void WakeResident();
// The instance is asked to end (Ctrl+C, the console closed).
void RequestResidentEnd();
// The clipboard changed.
void MarkClipboardChange();
