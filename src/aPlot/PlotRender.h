// Drawing of a plot: black picture, red curve, white axes through the
// origin, range labels and the caption, and the transforms between world
// coordinates and pixels that the coordinate readout shares.
#pragma once

#include "aPlot/PlotModel.h"
#include "platform/RgbImage.h"

// Where a picture of a window's client size W x WH puts things: the picture
// is W x (WH - 35); the row of yMin (baseline) is WH - 55; yMax lies S pixels
// above it, leaving room for the caption and the upper label.
struct PlotFrame {
    int imageWidth = 0;
    int imageHeight = 0;
    double baseline = 0;
    double scaleHeight = 0; // S
};
PlotFrame FrameOf(int clientWidth, int clientHeight, int textHeight);

// World to pixels and back, with the record's extents and origin.
double WorldToPixelX(const PlotRecord& plot, const PlotFrame& frame, double x);
double WorldToPixelY(const PlotRecord& plot, const PlotFrame& frame, double y); // height above baseline
double PixelToWorldX(const PlotRecord& plot, const PlotFrame& frame, double column);
double PixelToWorldY(const PlotRecord& plot, const PlotFrame& frame, double height);

// The picture of plot k of plots from the sample arrays, for a window of
// client size W x WH; sets the record's origin. Needs the display.
RgbImage RenderPlot(PlotState& plots, int k, int clientWidth, int clientHeight);

// Renders plot k into its window and fills the from and to fields with the
// first and last sample's x. Nothing happens when the window is not open.
void DrawPlot(PlotState& plots, int k);
