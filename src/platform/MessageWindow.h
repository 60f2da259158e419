// The message window "Tessara Log": a label "Messages Log" over a read-only
// multi-line text view.
#pragma once

#include <string>

// Opens the window (fixedFont: the text view uses "Courier New" or the nearest
// fixed font). Returns false when it cannot be opened (no display).
bool OpenMessageWindow(bool fixedFont);

// True while the window is open.
bool MessageWindowOpen();

// Adds one line: position 0 inserts it as the first line, -1 appends it.
void MessageWindowAddLine(const std::string& line, int position);

// The whole text of the view, lines separated by "\n".
std::string MessageWindowText();

// Serves window events until the user closes the window.
void MessageWindowWaitClosed();

void CloseMessageWindow();
