#include "platform/gui/MessageDialog.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include "platform/gui/DisplayText.h"

void ShowMessageDialog(const std::string& title, const std::string& text) {
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
