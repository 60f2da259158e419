// The module's side of MessageBox.h.
#pragma once

#include <string>

// Shows text in a modal dialog titled title with an OK button and waits for it.
void ShowMessageDialog(const std::string& title, const std::string& text);
