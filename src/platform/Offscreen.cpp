// Offscreen drawing through FLTK's image surface.
#include "platform/Offscreen.h"

#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/fl_draw.H>

#include "platform/Display.h"
#include "platform/Fonts.h"
#include "platform/SurfaceImage.h"

namespace {

// The plot font: "Verdana" where installed, else DejaVu Sans, else FLTK's
// sans font, at the size of about 8 points.
constexpr int kPlotFontSize = 11;

void UsePlotFont() {
    static const Fl_Font font = FindFont("Verdana", FindFont("DejaVu Sans", FL_HELVETICA));
    fl_font(font, kPlotFontSize);
}

void UseColour(Rgb colour) { fl_color(colour.r, colour.g, colour.b); }

} // namespace

int PlotTextHeight() {
    if (!DisplayAvailable()) return 0;
    UsePlotFont();
    return fl_height();
}

struct OffscreenCanvas::Surface {
    Fl_Image_Surface image;
    Surface(int width, int height) : image(width, height) {}
};

OffscreenCanvas::OffscreenCanvas(int width, int height, Rgb background)
    : width_(width), height_(height) {
    DisplayAvailable();
    surface_ = std::make_unique<Surface>(width, height);
    surface_->image.set_current();
    UseColour(background);
    fl_rectf(0, 0, width, height);
    UsePlotFont();
}

OffscreenCanvas::~OffscreenCanvas() { Fl_Display_Device::display_device()->set_current(); }

void OffscreenCanvas::Polyline(const std::vector<CanvasPoint>& points, Rgb colour) {
    UseColour(colour);
    if (points.size() == 1) {
        fl_point(points[0].x, points[0].y);
        return;
    }
    fl_begin_line();
    for (const CanvasPoint& p : points) fl_vertex(p.x, p.y);
    fl_end_line();
}

void OffscreenCanvas::Line(CanvasPoint from, CanvasPoint to, Rgb colour) {
    UseColour(colour);
    fl_line(from.x, from.y, to.x, to.y);
}

void OffscreenCanvas::Text(CanvasPoint at, const std::string& text, Rgb colour) {
    UseColour(Rgb{255, 255, 255});
    fl_rectf(at.x, at.y, TextWidth(text), TextHeight());
    UseColour(colour);
    fl_draw(text.c_str(), at.x, at.y + fl_height() - fl_descent());
}

int OffscreenCanvas::TextWidth(const std::string& text) const {
    return static_cast<int>(fl_width(text.c_str()) + 0.5);
}

int OffscreenCanvas::TextHeight() const { return fl_height(); }

RgbImage OffscreenCanvas::Picture() { return SurfacePicture(surface_->image, width_, height_); }

RgbImage SurfacePicture(Fl_Image_Surface& surface, int width, int height) {
    RgbImage picture;
    Fl_RGB_Image* image = surface.image();
    surface.set_current();
    if (image == nullptr) return picture;
    if (image->d() == 3 && image->w() == width && image->h() == height && image->data() != nullptr) {
        picture.width = width;
        picture.height = height;
        const auto* data = reinterpret_cast<const std::uint8_t*>(image->data()[0]);
        picture.pixels.assign(data, data + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    }
    delete image;
    return picture;
}
