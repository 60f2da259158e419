// Plot windows on a virtual X server (run under xvfb-run): the rendered
// picture, window title and controls, tiling, the Close button, Redraw, the
// coordinate readout and resizing, in process (the real program's windows
// and screenshots: PlotProgramGuiTest).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

#include "AuxFunct/ResultText.h"
#include "PlotHarness.h"
#include "AuxFunct/TidyNumber.h"
#include "platform/Display.h"
#include "platform/Offscreen.h"
#include "platform/PlotWindow.h"
#include "WindowManager.h"

namespace {

// Serves window events until done() holds, for at most five seconds.
bool ServeUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ServeWindowEvents(0.02);
    }
    return true;
}

// The X window of the top-level window titled title.
std::string WindowOf(const std::string& title) {
    std::string id = ShellOutput("xdotool search --name '^" + title + "$'");
    while (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
}

// Clicks at client pixel (x, y) of the window titled title.
void ClickAt(const std::string& title, int x, int y) {
    ShellOutput("xdotool mousemove --window " + WindowOf(title) + " " + std::to_string(x) + " " + std::to_string(y) +
          " click 1");
}

std::vector<int> Rect(const WindowRect& r) { return {r.x, r.y, r.width, r.height}; }

bool IsWhite(Rgb c) { return c == Rgb{255, 255, 255}; }

TEST_F(PlotTest, PictureWindowAndControls) {
    ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
    Run("plot(-2; x; 2; 4) = x^2");
    ASSERT_EQ(Plot(1).windowId, 120);
    EXPECT_NE(WindowOf("aPlot #1"), "");
    const RgbImage picture = PlotWindowImage(120);
    ASSERT_EQ(picture.width, 400);
    ASSERT_EQ(picture.height, 365);

    const int th = PlotTextHeight();
    const double s = 345 - th - 4; // yMax lies just below the caption
    const int rowOfOne = static_cast<int>(std::nearbyint(345 - s / 4));
    EXPECT_EQ(picture.At(100, rowOfOne), (Rgb{255, 0, 0}));        // the samples at x = -1 and 1
    EXPECT_EQ(picture.At(300, rowOfOne), (Rgb{255, 0, 0}));
    EXPECT_EQ(picture.At(350, 300), (Rgb{0, 0, 0}));               // background
    EXPECT_TRUE(IsWhite(picture.At(200, 100)));                    // y-axis
    EXPECT_TRUE(IsWhite(picture.At(250, 345)));                    // x-axis on the baseline
    EXPECT_TRUE(IsWhite(picture.At(2, 345 + th - 1)));             // left x label "-2" below the axis
    EXPECT_TRUE(IsWhite(picture.At(2, 345 - 3)));                  // lower y label "0" above the baseline
    EXPECT_TRUE(IsWhite(picture.At(2, th + 2)));                   // upper y label "4" below the caption
    int captionRed = 0;
    int rightLabelWhite = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < th; ++y) captionRed += picture.At(x, y).r > 150 && picture.At(x, y).g < 100;
    for (int x = 370; x < 400; ++x) rightLabelWhite += IsWhite(picture.At(x, 345 + th - 1));
    EXPECT_GT(captionRed, 20);
    EXPECT_GT(rightLabelWhite, 3);

    EXPECT_EQ(PlotWindowField(120, false), "-2");
    EXPECT_EQ(PlotWindowField(120, true), "2");
    const std::vector<std::vector<int>> layout = {{0, 0, 400, 365},   {5, 375, 75, 20},   {320, 375, 75, 20},
                                                  {90, 378, 70, 20},  {160, 375, 50, 20}, {220, 378, 20, 20},
                                                  {240, 375, 50, 20}};
    for (int control = 0; control < 7; ++control) EXPECT_EQ(Rect(PlotControlRect(120, control)), layout[control]);
}

int WhiteInRow(const RgbImage& picture, int y) {
    int count = 0;
    for (int x = 0; x < picture.width; ++x) count += IsWhite(picture.At(x, y));
    return count;
}

int WhiteInColumn(const RgbImage& picture, int x) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) count += IsWhite(picture.At(x, y));
    return count;
}

// A label's white box of height th has its top-left corner at (x, top): its
// first and last rows are white there, the rows just outside it are not.
bool LabelBoxAt(const RgbImage& picture, int x, int top, int th) {
    for (int dx = 0; dx < 4; ++dx)
        if (!IsWhite(picture.At(x + dx, top)) || !IsWhite(picture.At(x + dx, top + th - 1))) return false;
    return !IsWhite(picture.At(x + 1, top - 1)) && !IsWhite(picture.At(x + 1, top + th));
}

// Axes, labels and one sample of a curve whose y range spans zero and of one
// wholly above it, at the places the extents give: y lies S = baseline - th - 4
// pixels above the baseline (row 345) per y range, x spans the 400 columns.
TEST_F(PlotTest, AxesAndLabelsStandWhereTheExtentsPutThem) {
    ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
    Run("plot(-1; x; 3; 4) = x\r\nplot(-1; x; 3; 4) = x+2");
    const int th = PlotTextHeight();
    const double baseline = 345;
    const double s = baseline - th - 4;
    struct Case {
        int windowId;
        double yMin, yMax;
    };
    for (const Case c : {Case{120, -1, 3}, Case{130, 1, 5}}) {
        SCOPED_TRACE(c.windowId);
        const auto row = [&](double y) {
            return static_cast<int>(std::nearbyint(baseline - (y - c.yMin) * s / (c.yMax - c.yMin)));
        };
        const auto column = [](double x) { return static_cast<int>(std::nearbyint((x + 1) * 400 / 4)); };
        const RgbImage picture = PlotWindowImage(c.windowId);
        ASSERT_EQ(picture.height, 365);
        EXPECT_EQ(picture.At(column(1), row(c.yMin + 2)), (Rgb{255, 0, 0})); // the sample at x = 1
        EXPECT_GT(WhiteInColumn(picture, column(0)), 300);                     // the y-axis at x = 0
        EXPECT_LT(WhiteInColumn(picture, column(0) + 3), 100);
        const int r0 = row(0);
        const bool axisShown = r0 >= 0 && r0 < picture.height;
        for (int y = 0; y < picture.height; ++y) {
            if (y == r0) EXPECT_GT(WhiteInRow(picture, y), 380) << "x-axis row " << y;
            else EXPECT_LT(WhiteInRow(picture, y), 200) << "no x-axis on row " << y;
        }
        // The x labels sit on the axis when it is shown, else below the baseline.
        const int labelRow = axisShown ? r0 : static_cast<int>(baseline) + 2;
        EXPECT_TRUE(LabelBoxAt(picture, 2, labelRow, th)) << "x label -1";
        EXPECT_TRUE(LabelBoxAt(picture, 392, labelRow, th)) << "x label 3";
        EXPECT_TRUE(LabelBoxAt(picture, 2, row(c.yMin) - th - 2, th)) << "lower y label";
        EXPECT_TRUE(LabelBoxAt(picture, 2, row(c.yMax) - 2, th)) << "upper y label";
    }
}

TEST_F(PlotTest, WindowsTileAndCloseOneByOne) {
    ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
    Run("plot(0; x; 1; 2) = x\r\nplot(0; x; 1; 2) = 1-x\r\nplot(0; x; 1; 2) = 2-x");
    WindowRect first, second;
    ASSERT_TRUE(PlotWindowRect(120, first));
    ASSERT_TRUE(PlotWindowRect(130, second));
    // The server may report a window a pixel off the place it was asked for.
    EXPECT_NEAR(second.x, first.x + 407, 2);
    EXPECT_NEAR(second.y, first.y, 2);

    ClickAt("aPlot #2", 357, 385); // its Close button
    EXPECT_TRUE(ServeUntil([this] { return Plot(2).windowId == 0; }));
    EXPECT_FALSE(PlotWindowRect(130, second));
    ShellOutput("xdotool key --window " + WindowOf("aPlot #3") + " Escape");
    EXPECT_TRUE(ServeUntil([this] { return Plot(3).windowId == 0; }));
    EXPECT_EQ(Plot(1).windowId, 120);
    // The next run closes the windows of this one.
    Run("expr = 1");
    EXPECT_FALSE(PlotWindowRect(120, first));
}

// The window's frame on the screen as the window manager reports it: top and
// bottom edge of the frame around the client area.
std::pair<int, int> FrameTopAndBottom(const std::string& title) {
    const std::string id = WindowOf(title);
    int x = 0, y = 0, w = 0, h = 0, left = 0, right = 0, top = 0, bottom = 0;
    std::sscanf(ShellOutput("xwininfo -id " + id + " | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} "
                            "/Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'").c_str(),
                "%d %d %d %d", &x, &y, &w, &h);
    std::sscanf(ShellOutput("xprop -id " + id + " _NET_FRAME_EXTENTS | sed 's/.*= //'").c_str(), "%d, %d, %d, %d", &left,
                &right, &top, &bottom);
    return {y - top, y + h + bottom};
}

TEST_F(PlotTest, AWrappedRowStartsBelowTheFramesOfTheRowAbove) {
    WindowManager manager;
    const int perRow = (DesktopWidth() - 400) / 407 + 1;
    std::string script;
    for (int k = 0; k <= perRow; ++k) script += "plot(0; x; 1; 2) = x\r\n";
    Run(script);
    const std::string wrapped = "aPlot #" + std::to_string(perRow + 1);
    ASSERT_TRUE(ServeUntil([&] { return ShellOutput("xprop -id " + WindowOf(wrapped) + " _NET_FRAME_EXTENTS")
                                            .find(" = ") != std::string::npos; }));
    const auto [aboveTop, aboveBottom] = FrameTopAndBottom("aPlot #1");
    const auto [belowTop, belowBottom] = FrameTopAndBottom(wrapped);
    EXPECT_GT(aboveBottom - aboveTop, 400) << "no frame drawn";
    EXPECT_GE(belowTop, aboveBottom) << "the title bar of the lower row covers the row above";
}

TEST_F(PlotTest, ReadoutRedrawAndResize) {
    ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
    Run("plot(-2; x; 2; 4) = x^2");
    ASSERT_EQ(Plot(1).windowId, 120);

    // The click at (200, 100) reads x = 0 and the y drawn on row 100.
    ClickAt("aPlot #1", 200, 100);
    const double s = 345 - PlotTextHeight() - 4;
    const std::string expected = "Coord: 0, " + TidyNumber(NumberText((345 - 100) * 4 / s, 4));
    EXPECT_TRUE(ServeUntil([] { return !PlotWindowTooltip(120).empty(); }));
    EXPECT_EQ(PlotWindowTooltip(120), expected);

    SetPlotFields(120, "-5", "5");
    ClickAt("aPlot #1", 40, 385); // Redraw
    EXPECT_TRUE(ServeUntil([this] { return plots.sampleX.front() == -5; }));
    EXPECT_EQ(plots.sampleX, (std::vector<double>{-5, -2.5, 0, 2.5, 5}));
    EXPECT_EQ(PlotWindowField(120, false), "-5");
    EXPECT_EQ(PlotWindowField(120, true), "5");

    // 0 stands for the statement's own range end.
    SetPlotFields(120, "0", "5");
    ClickAt("aPlot #1", 40, 385);
    EXPECT_TRUE(ServeUntil([this] { return plots.sampleX.front() == -2; }));
    EXPECT_EQ(plots.sampleX.back(), 5);

    // A resize lays the controls out anew and draws the statement's range.
    ShellOutput("xdotool windowsize " + WindowOf("aPlot #1") + " 500 300");
    int width = 0, height = 0;
    EXPECT_TRUE(ServeUntil([&] { return PlotWindowClientSize(120, width, height) && width == 500 && height == 300; }));
    EXPECT_TRUE(ServeUntil([] { return PlotWindowImage(120).width == 500; }));
    EXPECT_EQ(PlotWindowImage(120).height, 265);
    EXPECT_EQ(Rect(PlotControlRect(120, 1)), (std::vector<int>{5, 275, 75, 20}));
    EXPECT_EQ(Rect(PlotControlRect(120, 2)), (std::vector<int>{420, 275, 75, 20}));
    EXPECT_EQ(Rect(PlotControlRect(120, 3)), (std::vector<int>{90, 278, 70, 20}));
    EXPECT_EQ(Rect(PlotControlRect(120, 6)), (std::vector<int>{240, 275, 50, 20}));
    EXPECT_EQ(PlotWindowField(120, false), "-2");
    EXPECT_EQ(PlotWindowField(120, true), "2");
}

} // namespace
