// Sampling of a plot's curve through the numeric library.
#pragma once

#include <string>

#include "aPlot/PlotModel.h"

// The ten-decimal text of a coordinate, tidied: -2 gives "-2", 0.25 "0.25";
// TidyNumber of "%.10f", formatted several times faster.
std::string CoordinateText(double value);
void AppendCoordinateText(std::string& out, double value);

// The value that CoordinateText(x) denotes: x rounded to ten decimals, as the
// library reads that text.
double SampleValue(double x);

// Samples plot k of plots over from .. to with its expression, variable and
// intervals n: exactly n + 1 samples at from + i * (to - from) / n, the last
// one at to, each x taken as SampleValue. Fills sampleX, sampleY and
// sampleValid and sets the record's extents from the valid samples; a
// degenerate extent gets a unit range around its value, and no valid sample
// at all gives x from .. to and y -0.5 .. 0.5. Expects from < to and n >= 1.
void SamplePlot(PlotState& plots, const KalvexApi& kx, int k, double from, double to);
