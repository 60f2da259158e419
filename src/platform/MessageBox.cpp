// Modal message dialog, or standard error without a display.
#include "platform/MessageBox.h"

#include <cstdio>

#include "platform/Display.h"
#include "platform/GuiModule.h"

void ShowMessageBox(const std::string& title, const std::string& text) {
    if (DisplayAvailable()) {
        LoadedGuiModule()->showMessageDialog(title, text);
        return;
    }
    std::string line = "Tessara: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
