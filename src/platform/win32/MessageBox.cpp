// Message boxes through MessageBoxA. Where no box can be shown (no desktop)
// the text goes to standard error, as on a system without a display.
#include "platform/MessageBox.h"

#include <windows.h>

#include "platform/Note.h"

void ShowMessageBox(const std::string& title, const std::string& text) {
    // A box with only OK that was shown returns IDOK, however it was closed.
    if (MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND) != IDOK) Note(text);
}
