// Offscreen drawing through FLTK's image surface.
#include "platform/gui/Canvas.h"

#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/fl_draw.H>

#include "platform/gui/Fonts.h"
#include "platform/gui/SurfaceImage.h"

namespace {

// The plot font: "Verdana" where installed, else DejaVu Sans, else FLTK's
// sans font, at the size of about 8 points.
constexpr int kPlotFontSize = 11;

void UsePlotFont() {
    static const Fl_Font font = FindFont("Verdana", FindFont("DejaVu Sans", FL_HELVETICA));
    fl_font(font, kPlotFontSize);
}

void UseColour(Rgb colour) { fl_color(colour.r, colour.g, colour.b); }

class FltkCanvas : public CanvasSurface {
public:
    FltkCanvas(int width, int height, Rgb background) : image_(width, height), width_(width), height_(height) {
        image_.set_current();
        UseColour(background);
        fl_rectf(0, 0, width, height);
        UsePlotFont();
    }

    ~FltkCanvas() override { Fl_Display_Device::display_device()->set_current(); }

    void Polyline(const std::vector<CanvasPoint>& points, Rgb colour) override {
        UseColour(colour);
        if (points.size() == 1) {
            fl_point(points[0].x, points[0].y);
            return;
        }
        fl_begin_line();
        for (const CanvasPoint& p : points) fl_vertex(p.x, p.y);
        fl_end_line();
    }

    void Line(CanvasPoint from, CanvasPoint to, Rgb colour) override {
        UseColour(colour);
        fl_line(from.x, from.y, to.x, to.y);
    }

    void Text(CanvasPoint at, const std::string& text, Rgb colour) override {
        UseColour(Rgb{255, 255, 255});
        fl_rectf(at.x, at.y, TextWidth(text), TextHeight());
        UseColour(colour);
        fl_draw(text.c_str(), at.x, at.y + fl_height() - fl_descent());
    }

    int TextWidth(const std::string& text) const override { return static_cast<int>(fl_width(text.c_str()) + 0.5); }

    int TextHeight() const override { return fl_height(); }

    RgbImage Picture() override { return SurfacePicture(image_, width_, height_); }

private:
    Fl_Image_Surface image_;
    int width_;
    int height_;
};

} // namespace

int PlotTextHeight() {
    UsePlotFont();
    return fl_height();
}

CanvasSurface* OpenCanvas(int width, int height, Rgb background) { return new FltkCanvas(width, height, background); }

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
