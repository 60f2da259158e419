// Drawing into an offscreen picture in the plot font. Needs the display.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/RgbImage.h"

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

// The height of a line of text in the plot font.
int PlotTextHeight();

class OffscreenCanvas {
public:
    // A width x height picture filled with background.
    OffscreenCanvas(int width, int height, Rgb background);
    ~OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    // One-pixel solid lines through the points; a single point is one pixel.
    void Polyline(const std::vector<CanvasPoint>& points, Rgb colour);
    void Line(CanvasPoint from, CanvasPoint to, Rgb colour);
    // Text whose top-left corner is at, on a white box of its own size.
    void Text(CanvasPoint at, const std::string& text, Rgb colour);
    int TextWidth(const std::string& text) const;
    int TextHeight() const;
    // The picture drawn so far.
    RgbImage Picture();

private:
    struct Surface;
    std::unique_ptr<Surface> surface_;
    int width_;
    int height_;
};
