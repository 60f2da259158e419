// The console screens (usage, flags, operators).
#pragma once

#include <string>

// Writes text unchanged to the console; then, only where that text would
// vanish when the program ends (a terminal or console window opened for the
// program alone), waits for one answer line of up to 4096 characters, which
// is thrown away (end of input ends the wait). Standard output is the
// console where it is attached; a Windows program started without it opens
// a console window for the screen and closes it after the answer.
void ShowConsoleScreen(const std::string& text);
