// Offscreen drawing on the window module's surface, once the display is open.
#include "platform/Offscreen.h"

#include "platform/Display.h"
#include "platform/GuiModule.h"

int PlotTextHeight() { return DisplayAvailable() ? LoadedGuiModule()->plotTextHeight() : 0; }

OffscreenCanvas::OffscreenCanvas(int width, int height, Rgb background) {
    if (DisplayAvailable()) surface_.reset(LoadedGuiModule()->openCanvas(width, height, background));
}

OffscreenCanvas::~OffscreenCanvas() = default;

void OffscreenCanvas::Polyline(const std::vector<CanvasPoint>& points, Rgb colour) {
    if (surface_) surface_->Polyline(points, colour);
}

void OffscreenCanvas::Line(CanvasPoint from, CanvasPoint to, Rgb colour) {
    if (surface_) surface_->Line(from, to, colour);
}

void OffscreenCanvas::Text(CanvasPoint at, const std::string& text, Rgb colour) {
    if (surface_) surface_->Text(at, text, colour);
}

int OffscreenCanvas::TextWidth(const std::string& text) const { return surface_ ? surface_->TextWidth(text) : 0; }

int OffscreenCanvas::TextHeight() const { return surface_ ? surface_->TextHeight() : 0; }

RgbImage OffscreenCanvas::Picture() { return surface_ ? surface_->Picture() : RgbImage{}; }
