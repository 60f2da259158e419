#include "aPlot/PlotWindows.h"

#include <algorithm>

#include <cmath>

#include "aPlot/PlotRender.h"
#include "aPlot/Sampling.h"
#include "AuxFunct/ResultText.h"
#include "AuxFunct/TextUtil.h"
#include "AuxFunct/TidyNumber.h"
#include "platform/Note.h"
#include "platform/Offscreen.h"

namespace {

constexpr int kWindowSize = 400;
constexpr int kGap = 7;
constexpr int kRowOffset = 430;

// The plot number of an open window of the run, or 0.
int PlotOfWindow(const PlotState& plots, int windowId) {
    const int k = (windowId - 110) / 10;
    if (windowId <= 110 || (windowId - 110) % 10 != 0 || k > plots.plotCount) return 0;
    return plots.plotTable[static_cast<std::size_t>(k)].windowId == windowId ? k : 0;
}

// Samples plot k over from .. to (0 stands for the statement's range end) and
// draws it; a range whose end is not above its start leaves the plot as it is.
void Resample(PlotState& plots, int k, double from, double to) {
    const PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    if (from == 0) from = plot.rangeFrom;
    if (to == 0) to = plot.rangeTo;
    if (!(from < to) || !std::isfinite(to - from) || plots.kx == nullptr) return;
    SamplePlot(plots, *plots.kx, k, from, to);
    DrawPlot(plots, k);
}

} // namespace

std::string ReadoutNumber(double value) {
    std::string text = TidyNumber(NumberText(value, std::fabs(value) > 100 ? 0 : 4));
    // A pixel next to an axis may give a rounding residue just below zero.
    return text == "-0" ? "0" : text;
}

WindowRect PlotWindowPosition(const WindowRect* previous, int desktopWidth, int previousFrameHeight) {
    WindowRect rect{0, 0, kWindowSize, kWindowSize};
    if (previous == nullptr) return rect;
    rect.x = previous->x + previous->width + kGap;
    int rowOffset = 0;
    if (rect.x + kWindowSize > desktopWidth) {
        rect.x = 0;
        // The new row starts below the whole window above, frame included,
        // so that no title bar covers the control row of the row above.
        rowOffset = std::max(kRowOffset, previous->height + previousFrameHeight + kGap);
    }
    rect.y = previous->y + rowOffset;
    return rect;
}

bool OpenPlotWindow(PlotState& plots, int k) {
    PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    // The frame first: reading it waits until the window manager has placed
    // the previous window, so that its rectangle is where it really is.
    const int previousId = k > 1 ? plots.plotTable[static_cast<std::size_t>(k) - 1].windowId : 0;
    const int previousFrameHeight = previousId != 0 ? PlotWindowFrameHeight(previousId) : 0;
    WindowRect previous;
    const bool hasPrevious = previousId != 0 && PlotWindowRect(previousId, previous);
    const WindowRect rect = PlotWindowPosition(hasPrevious ? &previous : nullptr, DesktopWidth(), previousFrameHeight);
    SetPlotWindowEventHandler([&plots](const PlotWindowEvent& event) { HandlePlotEvent(plots, event); });
    if (CreatePlotWindow(plot.windowId, "aPlot #" + std::to_string(k), rect)) return true;
    NoteOnce(plots.headlessNoted, "no display; plot windows are not shown and no screenshots are taken");
    plot.windowId = 0;
    return false;
}

void ClosePlotWindow(PlotState& plots, int k) {
    PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    if (plot.windowId != 0) DestroyPlotWindow(plot.windowId);
    plot.windowId = 0;
}

void ClosePlotWindows(PlotState& plots) {
    for (int k = 1; k <= plots.plotCount; ++k) ClosePlotWindow(plots, k);
    plots.plotCount = 0;
    plots.headlessNoted = false;
}

std::string ReadoutText(const PlotState& plots, int k, int mx, int my) {
    if (mx < 0 || my < 0) return "MousePos: out of window";
    const PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    int width = 0;
    int height = 0;
    if (!PlotWindowClientSize(plot.windowId, width, height)) return "MousePos: out of window";
    const PlotFrame frame = FrameOf(width, height, PlotTextHeight());
    return "Coord: " + ReadoutNumber(PixelToWorldX(plot, frame, mx)) + ", " +
           ReadoutNumber(PixelToWorldY(plot, frame, frame.baseline - my));
}

void HandlePlotEvent(PlotState& plots, const PlotWindowEvent& event) {
    const int k = PlotOfWindow(plots, event.windowId);
    if (k == 0) return;
    switch (event.kind) {
    case PlotWindowEvent::Kind::Redraw:
        Resample(plots, k, DecimalValue(event.fromText), DecimalValue(event.toText));
        break;
    case PlotWindowEvent::Kind::Close:
        ClosePlotWindow(plots, k);
        break;
    case PlotWindowEvent::Kind::Resize:
        Resample(plots, k, 0, 0);
        break;
    case PlotWindowEvent::Kind::ImageClick:
        if (std::string text = ReadoutText(plots, k, event.mouseX, event.mouseY); text != plots.lastReadout) {
            SetPlotTooltip(event.windowId, text);
            plots.lastReadout = std::move(text);
        }
        break;
    }
}
