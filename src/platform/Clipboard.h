// Clipboard text through the desktop's clipboard tools.
#pragma once

#include <string>

// True when a clipboard can be reached.
bool ClipboardAvailable();

// The clipboard's text; empty when it holds none or there is no clipboard.
std::string ClipboardGetText();

// Puts text on the clipboard, where it stays after this process ends.
// Returns false when there is no clipboard.
bool ClipboardSetText(const std::string& text);

// Puts a PNG picture on the clipboard as image/png. Returns false when there
// is no clipboard tool that takes pictures.
bool ClipboardSetPicture(const std::string& png);
