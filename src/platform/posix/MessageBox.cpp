// Modal message dialog; its text also goes to standard error.
#include "platform/MessageBox.h"

#include "platform/Display.h"
#include "platform/GuiModule.h"
#include "platform/Note.h"

namespace {

bool boxesTakeFocus = true;

} // namespace

void ShowMessageBox(const std::string& title, const std::string& text) {
    // Standard error first: an editor that started the program shows the
    // text in its output pane while the box waits, and without a display it
    // is all there is.
    Note(text);
    if (DisplayAvailable()) LoadedGuiModule()->showMessageDialog(title, text, boxesTakeFocus);
}

void LeaveFocusToOtherPrograms() { boxesTakeFocus = false; }
