#include "platform/gui/MessageDialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/gui/DisplayText.h"
#include "platform/gui/WindowHints.h"

namespace {

constexpr int kMargin = 15;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kMaxTextWidth = 600;

} // namespace

void ShowMessageDialog(const std::string& title, const std::string& text, bool takeFocus) {
    // A label would take "@" as the start of a symbol name.
    std::string shown;
    for (char c : DisplayText(text)) {
        shown += c;
        if (c == '@') shown += '@';
    }
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    int textWidth = kMaxTextWidth, textHeight = 0;
    fl_measure(shown.c_str(), textWidth, textHeight);
    textWidth = std::max(textWidth, kButtonWidth);
    const int w = textWidth + 2 * kMargin;
    const int h = textHeight + 3 * kMargin + kButtonHeight;

    Fl_Double_Window window(w, h, title.c_str());
    Fl_Box message(kMargin, kMargin, textWidth, textHeight, shown.c_str());
    message.align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    Fl_Return_Button ok(w - kMargin - kButtonWidth, h - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, "OK");
    ok.callback([](Fl_Widget* button, void*) { button->window()->hide(); });
    window.end();
    window.set_modal();
    window.hotspot(&ok);
    if (takeFocus) window.show();
    else ShowWithHints(window, HintNoFocusOnMap);
    while (window.shown()) Fl::wait();
}
