// Clipboard text through the desktop's clipboard tools.
#pragma once

#include <string>

#include "platform/RgbImage.h"

// True when a clipboard can be reached.
bool ClipboardAvailable();

// The clipboard's text; empty when it holds none or there is no clipboard.
std::string ClipboardGetText();

// Puts text on the clipboard, where it stays after this process ends.
// Returns false when there is no clipboard.
bool ClipboardSetText(const std::string& text);

// Puts picture on the clipboard in the desktop's picture format (image/png
// through the clipboard tools, a device-independent bitmap on Windows).
// Returns false when there is no clipboard that takes pictures.
bool ClipboardSetPicture(const RgbImage& picture);
