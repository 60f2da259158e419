// Plot windows as FLTK windows whose callbacks report to the plot code.
#include "platform/PlotWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Tooltip.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>

#include "platform/gui/SurfaceImage.h"

namespace {

constexpr int kControlSize = 11;
constexpr double kMapTimeout = 2.0; // seconds a capture waits for the window to be mapped

std::function<void(const PlotWindowEvent&)> eventHandler;

void Report(PlotWindowEvent event) {
    if (eventHandler) eventHandler(event);
}

// The picture control: reports left and right clicks with the mouse position.
class ImageBox : public Fl_Box {
public:
    ImageBox(int windowId, int x, int y, int w, int h) : Fl_Box(x, y, w, h), windowId_(windowId) {}

    int handle(int event) override {
        if (event != FL_PUSH || (Fl::event_button() != FL_LEFT_MOUSE && Fl::event_button() != FL_RIGHT_MOUSE))
            return Fl_Box::handle(event);
        PlotWindowEvent click;
        click.kind = PlotWindowEvent::Kind::ImageClick;
        click.windowId = windowId_;
        const Fl_Window* window = this->window();
        const bool inside = Fl::event_x() >= 0 && Fl::event_y() >= 0 && Fl::event_x() < window->w() &&
                            Fl::event_y() < window->h();
        click.mouseX = inside ? Fl::event_x() : -1;
        click.mouseY = inside ? Fl::event_y() : -1;
        Report(click);
        return 1;
    }

private:
    int windowId_;
};

class PlotWin : public Fl_Double_Window {
public:
    PlotWin(int windowId, const std::string& title, const WindowRect& r)
        : Fl_Double_Window(r.x, r.y, r.width, r.height),
          windowId_(windowId),
          image_(windowId, 0, 0, r.width, r.height - 35),
          redraw_(0, 0, 75, 20, "Redraw"),
          fromLabel_(0, 0, 70, 20, "Redraw from"),
          from_(0, 0, 50, 20),
          toLabel_(0, 0, 20, 20, "to"),
          to_(0, 0, 50, 20),
          close_(0, 0, 75, 20, "Close") {
        copy_label(title.c_str());
        color(FL_BACKGROUND_COLOR);
        image_.box(FL_FLAT_BOX);
        image_.color(FL_BLACK);
        for (Fl_Widget* w : std::initializer_list<Fl_Widget*>{&redraw_, &fromLabel_, &toLabel_, &close_})
            w->labelsize(kControlSize - 1);
        fromLabel_.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        toLabel_.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        for (Fl_Input* field : {&from_, &to_}) {
            field->textsize(kControlSize);
            field->value("0");
        }
        end();
        Layout();
        size_range(100, 100);
        redraw_.callback([](Fl_Widget*, void* self) { static_cast<PlotWin*>(self)->ReportRedraw(); }, this);
        close_.callback([](Fl_Widget*, void* self) { static_cast<PlotWin*>(self)->ReportClose(); }, this);
        // The close box and Escape both call the window's callback.
        callback([](Fl_Widget*, void* self) { static_cast<PlotWin*>(self)->ReportClose(); }, this);
    }

    void resize(int x, int y, int w, int h) override {
        const bool sized = w != this->w() || h != this->h();
        Fl_Double_Window::resize(x, y, w, h);
        Layout();
        if (!sized) return;
        PlotWindowEvent event;
        event.kind = PlotWindowEvent::Kind::Resize;
        event.windowId = windowId_;
        Report(event);
    }

    void ShowPicture(const RgbImage& picture) {
        image_.image(nullptr);
        picture_ = picture.pixels;
        rgb_ = std::make_unique<Fl_RGB_Image>(picture_.data(), picture.width, picture.height, 3);
        image_.image(rgb_.get());
        image_.redraw();
    }

    void SetFields(const std::string& fromText, const std::string& toText) {
        from_.value(fromText.c_str());
        to_.value(toText.c_str());
    }

    void SetTooltip(const std::string& text) {
        image_.copy_tooltip(text.c_str());
        Fl_Tooltip::enter_area(&image_, 0, 0, image_.w(), image_.h(), image_.tooltip());
    }

    std::string Tooltip() const { return image_.tooltip() ? image_.tooltip() : ""; }
    std::string Field(bool toField) const { return (toField ? to_ : from_).value(); }

    RgbImage Picture() const {
        RgbImage picture;
        if (rgb_) {
            picture.width = rgb_->w();
            picture.height = rgb_->h();
            picture.pixels = picture_;
        }
        return picture;
    }

    WindowRect ControlRect(int control) const {
        const Fl_Widget* widgets[] = {&image_, &redraw_, &close_, &fromLabel_, &from_, &toLabel_, &to_};
        if (control < 0 || control > 6) return {};
        const Fl_Widget* w = widgets[control];
        return {w->x(), w->y(), w->w(), w->h()};
    }

private:
    // The control row lies at WH - 25 (labels at WH - 22) and the Close button
    // at W - 80; the picture fills the rest above it.
    void Layout() {
        const int row = h() - 25;
        image_.resize(0, 0, w(), h() - 35);
        redraw_.resize(5, row, 75, 20);
        fromLabel_.resize(90, row + 3, 70, 20);
        from_.resize(160, row, 50, 20);
        toLabel_.resize(220, row + 3, 20, 20);
        to_.resize(240, row, 50, 20);
        close_.resize(w() - 80, row, 75, 20);
    }

    void ReportRedraw() {
        PlotWindowEvent event;
        event.kind = PlotWindowEvent::Kind::Redraw;
        event.windowId = windowId_;
        event.fromText = from_.value();
        event.toText = to_.value();
        Report(event);
    }

    void ReportClose() {
        PlotWindowEvent event;
        event.kind = PlotWindowEvent::Kind::Close;
        event.windowId = windowId_;
        Report(event);
    }

    int windowId_;
    std::vector<std::uint8_t> picture_;
    std::unique_ptr<Fl_RGB_Image> rgb_;
    ImageBox image_;
    Fl_Button redraw_;
    Fl_Box fromLabel_;
    Fl_Input from_;
    Fl_Box toLabel_;
    Fl_Input to_;
    Fl_Button close_;
};

std::map<int, PlotWin*> windows;

PlotWin* Find(int windowId) {
    const auto it = windows.find(windowId);
    return it == windows.end() ? nullptr : it->second;
}

// Serves events until the window manager has mapped the window, so that its
// frame can be read.
void WaitMapped(PlotWin* window) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kMapTimeout);
    while (std::chrono::steady_clock::now() < deadline) {
        Fl::check();
        XWindowAttributes attributes{};
        if (fl_xid(window) != 0 && XGetWindowAttributes(fl_display, fl_xid(window), &attributes) != 0 &&
            attributes.map_state == IsViewable)
            return;
        Fl::wait(0.01);
    }
}

} // namespace

void SetPlotWindowEventHandler(std::function<void(const PlotWindowEvent&)> handler) {
    eventHandler = std::move(handler);
}

bool CreatePlotWindow(int windowId, const std::string& title, const WindowRect& rect) {
    DestroyPlotWindow(windowId);
    auto* window = new PlotWin(windowId, title, rect);
    windows[windowId] = window;
    window->show();
    Fl::check();
    return true;
}

void DestroyPlotWindow(int windowId) {
    PlotWin* window = Find(windowId);
    if (window == nullptr) return;
    windows.erase(windowId);
    window->hide();
    Fl::delete_widget(window);
}

bool PlotWindowRect(int windowId, WindowRect& rect) {
    const PlotWin* window = Find(windowId);
    if (window == nullptr) return false;
    rect = {window->x(), window->y(), window->w(), window->h()};
    return true;
}

bool PlotWindowClientSize(int windowId, int& width, int& height) {
    WindowRect rect;
    if (!PlotWindowRect(windowId, rect)) return false;
    width = rect.width;
    height = rect.height;
    return true;
}

int PlotWindowFrameHeight(int windowId) {
    PlotWin* window = Find(windowId);
    if (window == nullptr || !window->shown()) return 0;
    WaitMapped(window); // the frame is there once the window manager has mapped the window
    return std::max(0, window->decorated_h() - window->h());
}

int DesktopWidth() {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, 0);
    return w;
}

void ShowPlotImage(int windowId, const RgbImage& picture) {
    if (PlotWin* window = Find(windowId); window != nullptr && !picture.Empty()) {
        window->ShowPicture(picture);
        Fl::flush();
    }
}

void SetPlotFields(int windowId, const std::string& fromText, const std::string& toText) {
    if (PlotWin* window = Find(windowId)) window->SetFields(fromText, toText);
}

void SetPlotTooltip(int windowId, const std::string& text) {
    if (PlotWin* window = Find(windowId)) window->SetTooltip(text);
}

RgbImage CapturePlotWindow(int windowId) {
    PlotWin* window = Find(windowId);
    if (window == nullptr || !window->shown()) return {};
    WaitMapped(window);
    const int width = window->decorated_w();
    const int height = window->decorated_h();
    Fl_Image_Surface surface(width, height);
    surface.set_current();
    surface.draw_decorated_window(window);
    RgbImage picture = SurfacePicture(surface, width, height);
    Fl_Display_Device::display_device()->set_current();
    return picture;
}

std::string PlotWindowTooltip(int windowId) {
    const PlotWin* window = Find(windowId);
    return window ? window->Tooltip() : "";
}

std::string PlotWindowField(int windowId, bool toField) {
    const PlotWin* window = Find(windowId);
    return window ? window->Field(toField) : "";
}

RgbImage PlotWindowImage(int windowId) {
    const PlotWin* window = Find(windowId);
    return window ? window->Picture() : RgbImage{};
}

WindowRect PlotControlRect(int windowId, int control) {
    const PlotWin* window = Find(windowId);
    return window ? window->ControlRect(control) : WindowRect{};
}
