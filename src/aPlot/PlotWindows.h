// The windows of the plots of a run: opening with tiling, the start-of-run
// close, and the events the windows report.
#pragma once

#include <string>

#include "aPlot/PlotModel.h"
#include "platform/PlotWindow.h"

// Where the next plot window goes: right of the previous one (its left edge +
// its client width + 7), or at x = 0 one row lower when that would cross the
// desktop's right edge: 430 pixels, or more where the previous window with
// its frame (previousFrameHeight above and below its client area) and a gap
// of 7 need more; (0, 0) without a previous window.
WindowRect PlotWindowPosition(const WindowRect* previous, int desktopWidth, int previousFrameHeight);

// Opens the 400 x 400 window "aPlot #" + k of plot k. Without a display it
// opens nothing, says so once per run on standard error, and returns false.
bool OpenPlotWindow(PlotState& plots, int k);

// Closes the window of plot k, if open, and marks it closed.
void ClosePlotWindow(PlotState& plots, int k);

// The start of a script run: closes the windows of the previous run's plots,
// then empties the run's plot count.
void ClosePlotWindows(PlotState& plots);

// A coordinate of the readout: no decimals above 100 in magnitude, else four,
// tidied; a value that shows as zero reads "0", without a sign.
std::string ReadoutNumber(double value);

// The readout of the mouse at client pixel (mx, my) over plot k's picture:
// "Coord: " + x + ", " + y, or "MousePos: out of window" when either is -1.
std::string ReadoutText(const PlotState& plots, int k, int mx, int my);

// Serves one event of a plot window: Redraw over the fields' range, Close,
// resize, and the coordinate readout of a click. Events of windows that are
// not open plot windows of the run are ignored.
void HandlePlotEvent(PlotState& plots, const PlotWindowEvent& event);
