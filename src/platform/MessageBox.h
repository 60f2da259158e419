#pragma once

#include <string>

// Shows text in a modal dialog with an OK button and waits for it. Without a
// display the text goes to standard error as "Tessara: " + text, with no wait.
void ShowMessageBox(const std::string& title, const std::string& text);
