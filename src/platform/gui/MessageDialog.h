// The module's side of MessageBox.h.
#pragma once

#include <string>

// Shows text in a modal dialog titled title with an OK button (Return and
// Escape close it too) and waits for it. Without takeFocus the window manager
// is asked to leave the keyboard focus where it is.
void ShowMessageDialog(const std::string& title, const std::string& text, bool takeFocus);
