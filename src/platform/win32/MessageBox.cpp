// Message boxes through MessageBoxA; the text also goes to standard error
// first, where an editor that started the program shows it while the box
// waits, and where no box can be shown (no desktop) it is all there is.
#include "platform/MessageBox.h"

#include <windows.h>

#include "platform/Note.h"

namespace {

bool boxesTakeFocus = true;

} // namespace

void ShowMessageBox(const std::string& title, const std::string& text) {
    Note(text);
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | (boxesTakeFocus ? MB_SETFOREGROUND : 0));
}

void LeaveFocusToOtherPrograms() { boxesTakeFocus = false; }
