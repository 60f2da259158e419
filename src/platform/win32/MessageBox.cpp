// Message boxes through MessageBoxA. Where no box can be shown (no desktop)
// the text goes to standard error, as on a system without a display.
#include "platform/MessageBox.h"

#include <windows.h>

#include "platform/Note.h"

void ShowMessageBox(const std::string& title, const std::string& text) {
    if (MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND) == 0) Note(text);
}
