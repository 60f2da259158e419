// Notes to standard error: what the user should know that no window shows (no
// display, no clipboard, a log file that is not used), one line each.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Writes "Tessara: " + text + "\n" to standard error in one piece.
inline void Note(std::string_view text) {
    std::string line = "Tessara: ";
    line += text;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

// Note(text) unless noted is set, which it sets: a thing said once is not
// repeated by later attempts.
inline void NoteOnce(bool& noted, std::string_view text) {
    if (!noted) Note(text);
    noted = true;
}
