// The message window "Tessara Log".
#include "platform/MessageWindow.h"

#include "platform/gui/DisplayText.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/MessageWindowState.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>

#include <memory>

namespace {

constexpr int kFixedFontSize = 11;  // about 8 points
constexpr int kNormalFontSize = 12;

class LogWindow : public Fl_Double_Window {
public:
    explicit LogWindow(bool fixedFont)
        : Fl_Double_Window(0, 195, 328, 330, "Tessara Log"),
          label_(5, 10, 100, 15, "Messages Log"),
          view_(5, 25, 328 - 15, 330 - 35) {
        label_.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        label_.labelsize(kNormalFontSize);
        view_.buffer(&buffer_);
        if (fixedFont) {
            view_.textfont(FindFont("Courier New", FL_COURIER));
            view_.textsize(kFixedFontSize);
        } else {
            view_.textsize(kNormalFontSize);
        }
        end();
        // The view keeps its 5-pixel left and 10-pixel right and bottom margins.
        resizable(&view_);
    }

    void AddLine(const std::string& line, int position) {
        const std::string shown = DisplayText(line);
        int at = 0;
        if (position == 0) {
            buffer_.insert(0, (lineCount_ == 0 ? shown : shown + "\n").c_str());
        } else {
            at = buffer_.length() + (lineCount_ == 0 ? 0 : 1);
            buffer_.append((lineCount_ == 0 ? shown : "\n" + shown).c_str());
        }
        ++lineCount_;
        view_.insert_position(at);
        view_.show_insert_position();
    }

    std::string Text() {
        std::unique_ptr<char, decltype(&free)> text(buffer_.text(), &free);
        return text ? std::string(text.get()) : std::string();
    }

private:
    // Declared first so that the view, which refers to it, is destroyed before it.
    Fl_Text_Buffer buffer_;
    Fl_Box label_;
    Fl_Text_Display view_;
    int lineCount_ = 0;
};

LogWindow* window = nullptr;

} // namespace

bool OpenMessageWindow(bool fixedFont) {
    CloseMessageWindow();
    window = new LogWindow(fixedFont);
    window->show();
    Fl::check();
    return true;
}

bool MessageWindowOpen() { return window != nullptr && window->shown(); }

bool MessageWindowClosedByUser() { return window != nullptr && !window->shown(); }

bool IsMessageWindow(const void* candidate) { return window != nullptr && candidate == window; }

void MessageWindowAddLine(const std::string& line, int position) {
    if (window == nullptr) return;
    window->AddLine(line, position);
    Fl::check();
}

std::string MessageWindowText() { return window != nullptr ? window->Text() : std::string(); }

void MessageWindowWaitClosed() {
    while (MessageWindowOpen()) Fl::wait();
}

void CloseMessageWindow() {
    if (window == nullptr) return;
    window->hide();
    Fl::delete_widget(window);
    window = nullptr;
}
