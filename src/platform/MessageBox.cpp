// Message boxes: the text goes to standard error first, where an editor that
// started the program shows it while the box waits, and where no box can be
// shown it is all there is; then the platform's dialog.
#include "platform/MessageBox.h"

#include "platform/Note.h"

namespace {

bool boxesTakeFocus = true;

} // namespace

void ShowMessageBox(const std::string& title, const std::string& text) {
    Note(text);
    ShowMessageDialog(title, text, boxesTakeFocus);
}

void LeaveFocusToOtherPrograms() { boxesTakeFocus = false; }
