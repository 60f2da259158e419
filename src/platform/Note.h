// Notes to standard error: what the user should know that no window shows (no
// display, no clipboard, a log file that is not used), one line each.
#pragma once

#include <string>
#include <string_view>

// Writes "Tessara: " + text + "\n" to standard error in one piece.
void Note(std::string_view text);

// Note(text) unless noted is set, which it sets: a thing said once is not
// repeated by later attempts.
inline void NoteOnce(bool& noted, std::string_view text) {
    if (!noted) Note(text);
    noted = true;
}

// While a capture runs (a launcher waits for the run of its line), every
// note, and every status line given to CaptureStatusLine, is also kept, as
// "Tessara: " + text + "\n" lines, for that launcher.
void StartNoteCapture();
std::string EndNoteCapture();
void CaptureStatusLine(std::string_view text);
