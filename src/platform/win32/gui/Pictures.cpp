// Pictures of the Windows build: plots drawn with GDI into a DIB section in
// the plot font, and the PNG and JPEG files through the system's codecs.
#include "platform/win32/gui/WindowsGui.h"

#include <windows.h>
#include <wincodec.h>

#include "platform/win32/gui/DibSurface.h"
#include "platform/win32/gui/GuiFonts.h"
#include "platform/win32/gui/WicCodec.h"

namespace {

// The plot font: "Verdana" at 8 points, 11 pixels at 96 dots per inch, the
// size the Linux build draws with.
constexpr int kPlotFontPixels = 11;

HFONT PlotFont() { return GuiFont("Verdana", kPlotFontPixels); }

COLORREF Colour(Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

// A one-pixel solid pen, selected into a device context while it lives.
class Pen {
public:
    Pen(HDC dc, Rgb colour) : dc_(dc), pen_(CreatePen(PS_SOLID, 1, Colour(colour))), previous_(SelectObject(dc, pen_)) {}
    ~Pen() {
        SelectObject(dc_, previous_);
        DeleteObject(pen_);
    }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ previous_;
};

class GdiCanvas : public CanvasSurface {
public:
    GdiCanvas(int width, int height, Rgb background) : surface_(width, height) {
        if (!surface_.Ready()) return;
        const RECT all{0, 0, width, height};
        SetBkColor(surface_.Dc(), Colour(background));
        ExtTextOutA(surface_.Dc(), 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
        previousFont_ = SelectObject(surface_.Dc(), PlotFont());
        textHeight_ = win32gui::PlotTextHeight();
    }

    ~GdiCanvas() override {
        if (previousFont_ != nullptr) SelectObject(surface_.Dc(), previousFont_);
    }

    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // GDI leaves out the last point of a line; it is set as well, so that
    // lines end where they end on Linux and a single point is one pixel.
    void Polyline(const std::vector<CanvasPoint>& points, Rgb colour) override {
        if (!surface_.Ready() || points.empty()) return;
        if (points.size() > 1) {
            const Pen pen(surface_.Dc(), colour);
            ::Polyline(surface_.Dc(), reinterpret_cast<const POINT*>(points.data()), static_cast<int>(points.size()));
        }
        SetPixelV(surface_.Dc(), points.back().x, points.back().y, Colour(colour));
    }

    void Line(CanvasPoint from, CanvasPoint to, Rgb colour) override { Polyline({from, to}, colour); }

    // The text on a white box of its own size, top-left corner at at.
    void Text(CanvasPoint at, const std::string& text, Rgb colour) override {
        if (!surface_.Ready()) return;
        const RECT box{at.x, at.y, at.x + TextWidth(text), at.y + textHeight_};
        SetBkColor(surface_.Dc(), RGB(255, 255, 255));
        SetTextColor(surface_.Dc(), Colour(colour));
        ExtTextOutA(surface_.Dc(), at.x, at.y, ETO_OPAQUE, &box, text.data(), static_cast<UINT>(text.size()), nullptr);
    }

    int TextWidth(const std::string& text) const override {
        SIZE size{};
        if (!surface_.Ready()) return 0;
        GetTextExtentPoint32A(surface_.Dc(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    int TextHeight() const override { return textHeight_; }

    RgbImage Picture() override { return surface_.Picture(); }

private:
    DibSurface surface_;
    HGDIOBJ previousFont_ = nullptr;
    int textHeight_ = 0;
};

} // namespace

static_assert(sizeof(CanvasPoint) == sizeof(POINT) && alignof(CanvasPoint) == alignof(POINT),
              "canvas points are handed to GDI as they are");

namespace win32gui {

std::string EncodePng(const RgbImage& picture) { return WicEncode(picture, GUID_ContainerFormatPng, -1); }

// The quality on the 0 .. 100 scale of the shared code, as the encoder's
// 0 .. 1: 70 is the 0.70 of the screenshots.
std::string EncodeJpeg(const RgbImage& picture, int quality) {
    return WicEncode(picture, GUID_ContainerFormatJpeg, static_cast<float>(quality) / 100.0f);
}

CanvasSurface* OpenCanvas(int width, int height, Rgb background) { return new GdiCanvas(width, height, background); }

int PlotTextHeight() {
    static const int height = [] {
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, PlotFont());
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        DeleteDC(dc);
        return static_cast<int>(metrics.tmHeight);
    }();
    return height;
}

} // namespace win32gui
