// Modal message dialog, or standard error without a display.
#include "platform/MessageBox.h"

#include "platform/Display.h"
#include "platform/GuiModule.h"
#include "platform/Note.h"

void ShowMessageBox(const std::string& title, const std::string& text) {
    if (DisplayAvailable()) {
        LoadedGuiModule()->showMessageDialog(title, text);
        return;
    }
    Note(text);
}
