// The console screens (usage, flags, operators).
#pragma once

#include <string>

// Writes text unchanged to the console, then waits for one answer line of up
// to 4096 characters, which is thrown away (end of input ends the wait).
// Standard output and input are the console where they are attached; a
// Windows program started without them opens a console window for the
// screen and closes it after the answer.
void ShowConsoleScreen(const std::string& text);
