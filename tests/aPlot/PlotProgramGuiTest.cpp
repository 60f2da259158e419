// Plot windows of the real program on a virtual X server with a window
// manager (run under xvfb-run), driven as a user would with xdotool and read
// with xwininfo, ImageMagick and xclip: the screenshots (JPEG files and the
// clipboard picture), and a resident instance's window with its picture,
// readout tooltip, Redraw, resize and Escape. The same cases run against
// Tessara.exe under Wine (TESSARA_TEST_WINDOWS); what differs is in Platform.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>

#include "RunTessara.h"
#include "WindowManager.h"

namespace {

constexpr int kWaitMs = 15000;

// What differs between the Linux program and Tessara.exe under Wine.
struct Platform {
    static bool Windows() { return !WindowsTarget().empty(); }
    // The clipboard picture as another program of the desktop gets it
    // (Windows offers CF_DIB as a bitmap file), and its format as identify names it.
    static std::string ClipboardTarget() { return Windows() ? "image/bmp" : "image/png"; }
    static std::string ClipboardFormat() { return Windows() ? "BMP3" : "PNG"; }
    // The JPEG files' quality as ImageMagick estimates it; Wine's JPEG encoder
    // does not take the quality the program asks for (Windows' does), so
    // there it is not checked.
    static bool JpegQualityChecked() { return !Windows(); }
};

// Wine ends its desktop, and the clipboard with it, soon after the last
// program of the session; a Windows desktop keeps the clipboard. A command
// interpreter waiting on its open input keeps Wine's session for the test.
class DesktopSession {
public:
    explicit DesktopSession(const TempDir& dir) {
        if (!Platform::Windows()) return;
        RunOptions options;
        options.keepDisplay = true;
        options.program = "cmd.exe";
        holder_ = StartTessara(dir, {}, "session", options);
    }
    ~DesktopSession() {
        if (holder_.pid > 0) kill(holder_.pid, SIGKILL);
        WaitForExit(holder_, kWaitMs);
    }
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

private:
    Background holder_;
};

class PlotProgram : public ::testing::Test {
protected:
    // Wine's server of the test's prefix goes with the test program.
    static void TearDownTestSuite() {
        const char* prefix = std::getenv("TESSARA_WINE_PREFIX");
        if (Platform::Windows() && prefix != nullptr)
            Shell("WINEPREFIX='" + WindowsTarget() + "/" + prefix + "' /usr/lib/wine/wineserver -k");
    }

    WindowManager manager;
    TempDir dir;
    RunOptions display;

    void SetUp() override { display.keepDisplay = true; }
};

// "JPEG 402x425" and the like: the format and size identify reads.
std::string FormatAndSize(const std::string& shellSource) {
    return ShellOutput(shellSource + " | identify -format '%m %wx%h' -");
}

TEST_F(PlotProgram, JpegFilesAndTheClipboardPictureIncludeTheFrame) {
    DesktopSession session(dir);
    WriteFileBytes(dir.file("a.kvx"), "plot(-2; x; 2; 40) = x^2\r\nplot(0; t; 1; 10) = t+1\r\n");
    RunResult r = RunTessara(dir, {"/i", "a.kvx", "/o", "out.kvx", "/spl:0"}, display);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string clipboard = "xclip -selection clipboard -t " + Platform::ClipboardTarget() + " -o";
    const std::string first = FormatAndSize("cat " + dir.file("aPlotNr_01.jpg"));
    EXPECT_EQ(FormatAndSize("cat " + dir.file("aPlotNr_02.jpg")), first);
    ASSERT_TRUE(first.starts_with("JPEG ")) << first;
    // Frame and title bar make the picture larger than the 400 x 400 client area.
    const int width = std::atoi(first.c_str() + 5);
    const int height = std::atoi(first.c_str() + first.find('x') + 1);
    EXPECT_GE(width, 400);
    EXPECT_GT(height, 400);
    EXPECT_EQ(FormatAndSize(clipboard), Platform::ClipboardFormat() + first.substr(4));
    if (Platform::JpegQualityChecked()) {
        EXPECT_EQ(ShellOutput("identify -format '%Q' " + dir.file("aPlotNr_01.jpg")), "70");
    }

    // Without a path the picture goes to the clipboard only.
    std::filesystem::remove(dir.file("aPlotNr_01.jpg"));
    std::filesystem::remove(dir.file("aPlotNr_02.jpg"));
    ShellOutput("printf text | xclip -selection clipboard -i");
    r = RunTessara(dir, {"/i", "a.kvx", "/o", "out.kvx", "/spl"}, display);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(FileExists(dir.file("aPlotNr_01.jpg")));
    EXPECT_EQ(FormatAndSize(clipboard), Platform::ClipboardFormat() + first.substr(4));
}

// The X window of the top-level window titled title; empty when there is none.
std::string WindowId(const std::string& title) {
    std::string id = ShellOutput("xdotool search --name '^" + title + "$' | head -1");
    if (id == "<failed>") return "";
    while (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
}

// What the screen shows of a window's client area, 8-bit red, green, blue.
struct Shown {
    int width = 0;
    int height = 0;
    std::string rgb;
    bool Is(int x, int y, int r, int g, int b) const {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return at + 2 < rgb.size() && static_cast<unsigned char>(rgb[at]) == r &&
               static_cast<unsigned char>(rgb[at + 1]) == g && static_cast<unsigned char>(rgb[at + 2]) == b;
    }
    // A tooltip's pale background: neither the black picture nor its red curve.
    bool Pale(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return at + 2 < rgb.size() && static_cast<unsigned char>(rgb[at]) > 200 &&
               static_cast<unsigned char>(rgb[at + 1]) > 200 && static_cast<unsigned char>(rgb[at + 2]) > 150;
    }
};

// The screen's pixels where the client area is, so that what covers it
// (the readout tooltip) is seen too.
Shown Grab(const std::string& id) {
    Shown shown;
    int x = 0, y = 0;
    std::sscanf(ShellOutput("xwininfo -id " + id + " | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} "
                            "/Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'").c_str(),
                "%d %d %d %d", &x, &y, &shown.width, &shown.height);
    shown.rgb = ShellOutput("import -window root -crop " + std::to_string(shown.width) + "x" +
                            std::to_string(shown.height) + "+" + std::to_string(x) + "+" + std::to_string(y) +
                            " -depth 8 rgb:-");
    if (shown.rgb.size() != static_cast<std::size_t>(shown.width) * shown.height * 3) shown = {};
    return shown;
}

int WhiteInColumn(const Shown& shown, int x) {
    int count = 0;
    for (int y = 0; y < shown.height; ++y) count += shown.Is(x, y, 255, 255, 255);
    return count;
}

int WhiteInRow(const Shown& shown, int y) {
    int count = 0;
    for (int x = 0; x < shown.width; ++x) count += shown.Is(x, y, 255, 255, 255);
    return count;
}

// Replaces the text of the field at client pixel (x, y) as a user types it.
void TypeIntoField(const std::string& id, int x, int y, const std::string& text) {
    ShellOutput("xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y) +
                " click 1 key Home shift+End type -- '" + text + "'");
}

TEST_F(PlotProgram, ResidentInstanceServesItsPlotWindow) {
    WriteFileBytes(dir.file("plot.kvx"), "plot(-2; x; 2; 4) = x^2\r\n");
    WriteFileBytes(dir.file("b.kvx"), "expr = 1+1\r\n");
    Background resident = StartTessara(dir, {"/tsr", "/log", "/i", "plot.kvx", "/o", "out1.kvx"}, "resident", display);
    std::string id;
    ASSERT_TRUE(WaitUntil([&] { return !(id = WindowId("aPlot #1")).empty(); }, kWaitMs)) << ReadFileBytes(resident.err);

    // The picture on a 400 x 400 client area: the y-axis at x = 0 (column 200),
    // the x-axis on the baseline (row 345), black around the red curve, the
    // control row below the picture.
    Shown shown;
    ASSERT_TRUE(WaitUntil([&] { return WhiteInColumn(shown = Grab(id), 200) > 300; }, kWaitMs));
    EXPECT_EQ(shown.width, 400);
    EXPECT_EQ(shown.height, 400);
    EXPECT_GT(WhiteInRow(shown, 345), 380);
    EXPECT_TRUE(shown.Is(350, 300, 0, 0, 0));
    int red = 0;
    for (int y = 0; y < 345; ++y) red += shown.Is(100, y, 255, 0, 0);
    EXPECT_GT(red, 0) << "the curve crosses column 100";
    EXPECT_FALSE(shown.Is(200, 390, 0, 0, 0)) << "the control row";

    // A click on the picture shows the readout just below the mouse.
    ShellOutput("xdotool mousemove --window " + id + " 200 100 click 1");
    const auto tooltipShown = [&] {
        const Shown now = Grab(id);
        int pale = 0;
        for (int y = 118; y < 124; ++y)
            for (int x = 215; x < 275; ++x) pale += now.Pale(x, y);
        return pale > 60;
    };
    EXPECT_TRUE(WaitUntil(tooltipShown, kWaitMs));

    // Redraw over -1 .. 3 puts x = 0 on column 100.
    TypeIntoField(id, 185, 385, "-1");
    TypeIntoField(id, 265, 385, "3");
    ShellOutput("xdotool mousemove --window " + id + " 40 385 click 1");
    EXPECT_TRUE(WaitUntil([&] { return WhiteInColumn(Grab(id), 100) > 300; }, kWaitMs));

    // A resize draws the statement's range on the new size: x = 0 on column 250.
    ShellOutput("xdotool windowsize " + id + " 500 300");
    EXPECT_TRUE(WaitUntil(
        [&] {
            shown = Grab(id);
            return shown.width == 500 && shown.height == 300 && WhiteInColumn(shown, 250) > 200;
        },
        kWaitMs));

    // Escape closes the window and the instance goes on: the next run opens
    // a window of its own, and the run after it, without plots, closes it.
    ShellOutput("xdotool windowfocus --sync " + id + " key Escape");
    EXPECT_TRUE(WaitUntil([&] { return WindowId("aPlot #1").empty(); }, kWaitMs));
    ASSERT_EQ(RunTessara(dir, {"/i", "plot.kvx", "/o", "out2.kvx"}, display).exitCode, 0);
    EXPECT_TRUE(WaitUntil([&] { return !WindowId("aPlot #1").empty(); }, kWaitMs));
    ASSERT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "out3.kvx"}, display).exitCode, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowId("aPlot #1").empty(); }, kWaitMs));

    EXPECT_EQ(RunTessara(dir, {"/quit"}, display).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
}

} // namespace
