#include "platform/ResidentWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "platform/gui/EventWait.h"

namespace {

constexpr int kSize = 60;

Fl_Window* window = nullptr;
Fl_Box* status = nullptr;
std::string statusText; // the box keeps a pointer to its label

void OnClose(Fl_Widget*, void*) { RequestWindowEnd(); }

} // namespace

bool OpenResidentWindow() {
    if (window != nullptr) return true;
    window = new Fl_Window((Fl::w() - kSize) / 2, (Fl::h() - kSize) / 2, kSize, kSize, "Tessara TSR");
    window->xclass("WindowClass_0");
    // The box is wider than the window, as the status control always was.
    status = new Fl_Box(FL_DOWN_BOX, 0, 0, 2 * kSize, kSize, nullptr);
    status->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
    status->labelsize(10);
    window->end();
    // The window's callback runs for its close box and for Escape.
    window->callback(OnClose);
    SetResidentStatus(kWaitingStatus);
    window->show();
    Fl::check();
    return true;
}

void SetResidentStatus(const std::string& text) {
    if (status == nullptr) return;
    statusText = text;
    status->label(statusText.c_str());
    status->redraw();
}

int FlashWindowTimes(int count) {
    if (window == nullptr || count <= 0 || !window->shown()) return 0;
    XWMHints* hints = XGetWMHints(fl_display, fl_xid(window));
    XWMHints fresh{};
    XWMHints* set = hints != nullptr ? hints : &fresh;
    set->flags |= XUrgencyHint;
    XSetWMHints(fl_display, fl_xid(window), set);
    if (hints != nullptr) XFree(hints);
    XFlush(fl_display);
    return 0;
}

void CloseResidentWindow() {
    if (window == nullptr) return;
    window->hide();
    Fl::delete_widget(window);
    window = nullptr;
    status = nullptr;
}
