// Modal message dialog, or standard error without a display.
#include "platform/MessageBox.h"

#include "platform/Display.h"
#include "platform/DisplayText.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <cstdio>

void ShowMessageBox(const std::string& title, const std::string& text) {
    if (!DisplayAvailable()) {
        std::string line = "Tessara: " + text + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        return;
    }
    // The dialog's label would take "@" as the start of a symbol name.
    std::string shown;
    for (char c : DisplayText(text)) {
        shown += c;
        if (c == '@') shown += '@';
    }
    const char* savedClose = fl_close;
    fl_close = "OK";
    fl_message_title(title.c_str());
    fl_message("%s", shown.c_str());
    fl_close = savedClose;
}
