#include "aPlot/PlotRender.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "aPlot/Sampling.h"
#include "AuxFunct/ResultText.h"
#include "AuxFunct/TidyNumber.h"
#include "platform/Offscreen.h"
#include "platform/PlotWindow.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kCurve{255, 0, 0};
constexpr int kControlRow = 35;   // client rows below the picture
constexpr int kBaselineGap = 20;  // picture rows below the baseline
constexpr int kLabelColumn = 2;   // column of the y labels
// Pixel positions far outside the picture are held at this distance, so that
// lines towards them keep their direction and stay within the drawing
// system's coordinate range.
constexpr double kFarOutside = 16000;

// A value without a place (a y range too wide for a double) counts as far outside.
int Pixel(double value) {
    if (std::isnan(value)) value = kFarOutside;
    return static_cast<int>(std::nearbyint(std::clamp(value, -kFarOutside, kFarOutside)));
}

// The curve as runs of consecutive valid samples in pixels, each without
// repeated points: a million samples on a 400-pixel picture draw as a few
// thousand line pieces.
std::vector<std::vector<CanvasPoint>> CurvePieces(const PlotState& plots, const PlotRecord& plot,
                                                  const PlotFrame& frame) {
    std::vector<std::vector<CanvasPoint>> pieces;
    bool open = false;
    for (std::size_t i = 0; i < plots.sampleX.size(); ++i) {
        if (!plots.sampleValid[i]) {
            open = false;
            continue;
        }
        const CanvasPoint p{Pixel(WorldToPixelX(plot, frame, plots.sampleX[i])),
                            Pixel(frame.baseline - WorldToPixelY(plot, frame, plots.sampleY[i]))};
        if (!open) pieces.emplace_back();
        open = true;
        if (pieces.back().empty() || !(pieces.back().back() == p)) pieces.back().push_back(p);
    }
    return pieces;
}

std::string TwoDecimals(double value) { return TidyNumber(NumberText(value, 2)); }

void DrawAxes(OffscreenCanvas& canvas, const PlotRecord& plot, const PlotFrame& frame) {
    const int th = canvas.TextHeight();
    const double h0 = WorldToPixelY(plot, frame, 0);
    const int r0 = Pixel(frame.baseline - h0);
    const int c0 = Pixel(WorldToPixelX(plot, frame, 0));
    canvas.Line({Pixel(WorldToPixelX(plot, frame, plot.xMin)), r0}, {Pixel(WorldToPixelX(plot, frame, plot.xMax)), r0},
                kWhite);
    canvas.Line({c0, frame.imageHeight}, {c0, 0}, kWhite);
    canvas.Text({c0 - canvas.TextWidth("0,0") / 2, r0}, "0,0", kBlack);

    // The x labels sit on the x-axis while it crosses the plotted range and
    // leaves the y labels free, else in the strip below the baseline, so that
    // all four stay inside the picture and readable.
    const int lowerRow = Pixel(frame.baseline - WorldToPixelY(plot, frame, plot.yMin)) - th - 2;
    const int upperRow = Pixel(frame.baseline - WorldToPixelY(plot, frame, plot.yMax)) - 2;
    const auto clearOf = [th](int row, int labelRow) { return row + th <= labelRow || labelRow + th <= row; };
    int labelRow = r0;
    if (h0 < 0 || h0 > frame.scaleHeight || !clearOf(r0, lowerRow) || !clearOf(r0, upperRow))
        labelRow = Pixel(frame.baseline) + 2;
    const std::string left = RoundedText(plot.xMin);
    const std::string right = RoundedText(plot.xMax);
    canvas.Text({Pixel(WorldToPixelX(plot, frame, plot.xMin)) + 2, labelRow}, left, kBlack);
    canvas.Text({Pixel(WorldToPixelX(plot, frame, plot.xMax) - 1.2 * canvas.TextWidth(right)), labelRow}, right,
                kBlack);
    canvas.Text({kLabelColumn, lowerRow}, TwoDecimals(plot.yMin), kBlack);
    canvas.Text({kLabelColumn, upperRow}, TwoDecimals(plot.yMax), kBlack);
}

} // namespace

PlotFrame FrameOf(int clientWidth, int clientHeight, int textHeight) {
    PlotFrame frame;
    frame.imageWidth = std::max(clientWidth, 1);
    frame.imageHeight = std::max(clientHeight - kControlRow, 1);
    frame.baseline = frame.imageHeight - kBaselineGap;
    // yMax lands just below the caption, with the upper label above it.
    frame.scaleHeight = std::max(frame.baseline - textHeight - 4, 1.0);
    return frame;
}

double WorldToPixelX(const PlotRecord& plot, const PlotFrame& frame, double x) {
    return (x - plot.xOrigin) * frame.imageWidth / (plot.xMax - plot.xMin);
}

double WorldToPixelY(const PlotRecord& plot, const PlotFrame& frame, double y) {
    return (y - plot.yOrigin) * frame.scaleHeight / (plot.yMax - plot.yMin);
}

double PixelToWorldX(const PlotRecord& plot, const PlotFrame& frame, double column) {
    return column * (plot.xMax - plot.xMin) / frame.imageWidth + plot.xOrigin;
}

double PixelToWorldY(const PlotRecord& plot, const PlotFrame& frame, double height) {
    return height * (plot.yMax - plot.yMin) / frame.scaleHeight + plot.yOrigin;
}

RgbImage RenderPlot(PlotState& plots, int k, int clientWidth, int clientHeight) {
    PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    plot.xOrigin = plot.xMin;
    plot.yOrigin = plot.yMin;
    const PlotFrame frame = FrameOf(clientWidth, clientHeight, PlotTextHeight());
    OffscreenCanvas canvas(frame.imageWidth, frame.imageHeight, kBlack);
    for (const auto& piece : CurvePieces(plots, plot, frame)) canvas.Polyline(piece, kCurve);
    canvas.Text({0, 0}, "Expr = " + plot.expression, kCurve);
    DrawAxes(canvas, plot, frame);
    return canvas.Picture();
}

void DrawPlot(PlotState& plots, int k) {
    const PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    int width = 0;
    int height = 0;
    if (plot.windowId == 0 || !PlotWindowClientSize(plot.windowId, width, height)) return;
    ShowPlotImage(plot.windowId, RenderPlot(plots, k, width, height));
    if (!plots.sampleX.empty())
        SetPlotFields(plot.windowId, CoordinateText(plots.sampleX.front()), CoordinateText(plots.sampleX.back()));
}
