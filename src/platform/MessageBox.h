#pragma once

#include <string>

// Writes "Tessara: " + text to standard error at once; then, with a display,
// shows text in a modal dialog with an OK button and waits for it.
void ShowMessageBox(const std::string& title, const std::string& text);

// Boxes shown from now on do not take the keyboard focus from another program
// (a resident instance's boxes appear while the user works elsewhere).
void LeaveFocusToOtherPrograms();

// The platform's modal dialog alone (ShowMessageBox adds the note): with a
// display, shows text with an OK button and waits for it; with takeFocus it
// comes to the front.
void ShowMessageDialog(const std::string& title, const std::string& text, bool takeFocus);
