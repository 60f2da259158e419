// The visible resident window "Tessara TSR" (/tsrv): a small window whose
// status box shows what the instance does. Closing it, or Escape in it,
// asks the instance to end.
#pragma once

#include <string>

// The status text of an instance waiting for command lines.
inline constexpr const char* kWaitingStatus = "kvx Script processor: waiting message";

// Opens the window, centred on the screen, with the waiting status. False
// without a display.
bool OpenResidentWindow();

// Shows text in the status box (nothing without the window).
void SetResidentStatus(const std::string& text);

// Draws the user's attention to the window: the window manager is told it
// is urgent (it flashes its task-bar entry count times where it can).
// Nothing without the window. Returns 0.
int FlashWindowTimes(int count);

void CloseResidentWindow();
