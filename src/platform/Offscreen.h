// Drawing into an offscreen picture in the plot font.
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

// The height of a line of text in the plot font; 0 without a display.
int PlotTextHeight();

// What a canvas draws on: the window module's offscreen picture.
class CanvasSurface {
public:
    virtual ~CanvasSurface() = default;
    virtual void Polyline(const std::vector<CanvasPoint>& points, Rgb colour) = 0;
    virtual void Line(CanvasPoint from, CanvasPoint to, Rgb colour) = 0;
    virtual void Text(CanvasPoint at, const std::string& text, Rgb colour) = 0;
    virtual int TextWidth(const std::string& text) const = 0;
    virtual int TextHeight() const = 0;
    virtual RgbImage Picture() = 0;
};

// Without a display a canvas draws nothing and its picture is empty.
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
    std::unique_ptr<CanvasSurface> surface_;
};
