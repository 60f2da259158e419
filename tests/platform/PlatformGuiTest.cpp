// The platform layer on a real X server (run under xvfb-run): the message
// window through the run log, the message box and the clipboard, observed
// with independent tools (xdotool, ImageMagick, xclip).
#include "AuxFunct/LogWriter.h"
#include "platform/Clipboard.h"
#include "platform/Display.h"
#include "platform/Form.h"
#include "platform/MessageWindow.h"

#include "RunTessara.h"
#include "WindowManager.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The ids of the mapped windows whose title is exactly title, waiting up to
// ten seconds for the first.
std::vector<std::string> FindWindows(const std::string& title) {
    std::istringstream ids(
        Shell("timeout 10 xdotool search --sync --onlyvisible --name '^" + title + "$' 2>/dev/null"));
    std::vector<std::string> found;
    for (std::string id; ids >> id;) found.push_back(id);
    return found;
}

std::string Pixel(const std::string& png, int x, int y) {
    return Shell("convert " + png + " -format '%[pixel:p{" + std::to_string(x) + "," + std::to_string(y) +
                 "}]' info:");
}

class Gui : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run"; }
    void TearDown() override { CloseMessageWindow(); }
    TempDir dir;
};

TEST_F(Gui, RunLogLinesAppearNewestFirstFromLineOne) {
    LogState log;
    EXPECT_EQ(WriteLogLine(log, "'Program: Tessara.exe\r\n", 1, "", 0, 0), 1);
    ASSERT_TRUE(MessageWindowOpen());
    EXPECT_EQ(MessageWindowText(), "");  // the opening call's text is not shown
    WriteLogLine(log, "first", 0, "", 0, 0);
    WriteLogLine(log, "BatchRun      : Time 01/02/2026 - 03:04:05\r\n", 0, "", 0, 0);
    WriteLogLine(log, "third", 0, "", 0, 0);
    EXPECT_EQ(MessageWindowText(), "3: third\n2: BatchRun      : Time 01/02/2026 - 03:04:05\n\n1: first");

    const auto windows = FindWindows("Tessara Log");
    ASSERT_EQ(windows.size(), 1U);
    const std::string geometry = Shell("xdotool getwindowgeometry " + windows[0]);
    // FLTK asks for x 1 where x 0 is given, so that window managers keep the place.
    EXPECT_TRUE(geometry.find("Position: 0,195 ") != std::string::npos ||
                geometry.find("Position: 1,195 ") != std::string::npos)
        << geometry;
    EXPECT_NE(geometry.find("Geometry: 328x330"), std::string::npos) << geometry;

    // The window shows its label and lines: far more than a blank area's
    // colours. On a busy machine it is drawn a little after it appears.
    const std::string shot = dir.file("log.png");
    int colours = 0;
    for (int attempt = 0; attempt < 50 && colours < 3; ++attempt) {
        ServeWindowEvents(0.1);
        Shell("import -window " + windows[0] + " " + shot);
        colours = std::stoi("0" + Trimmed(Shell("convert " + shot + " -format %k info:")));
    }
    EXPECT_GE(colours, 3);
}

TEST_F(Gui, TextScreenLinesAppearInReadingOrderInOneNewWindow) {
    LogState log;
    WriteLogLine(log, "run line", 1, "", 0, 0);
    WriteLogLine(log, "shown", 0, "", 0, 0);
    // Forgetting the window (as before a text screen) closes the old one.
    WriteLogLine(log, "", 0, "", 0, 1);
    EXPECT_EQ(WriteLogLine(log, "Tessara Syntax", 1, "", -1, 0), 1);
    for (const char* line : {"usage 1", "", "usage 3"}) WriteLogLine(log, line, 0, "", -1, 0);
    EXPECT_EQ(MessageWindowText(), "2: usage 1\n3: \n4: usage 3");
    EXPECT_EQ(FindWindows("Tessara Log").size(), 1U);
}

TEST_F(Gui, FixedFontWindowShowsLineEndsAndEightBitText) {
    struct Case {
        std::string line;
        std::string shown;
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd", "a\nb\nc\nd"},
        {"usage\r\n", "usage\n"},
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},                          // UTF-8 stays
        {"Command Line  : \"/i caf\xE9.kvx\"", "Command Line  : \"/i caf\xC3\xA9.kvx\""}, // Latin-1 is encoded
        {"\xC3", "\xC3\x83"},                                                            // a cut sequence
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenMessageWindow(true));
        MessageWindowAddLine(c.line, -1);
        EXPECT_EQ(MessageWindowText(), c.shown) << c.line;
    }
}

TEST_F(Gui, ViewFollowsTheWindowSize) {
    LogState log;
    WriteLogLine(log, "open", 1, "", 0, 0);
    const auto windows = FindWindows("Tessara Log");
    ASSERT_EQ(windows.size(), 1U);
    Shell("xdotool windowsize --sync " + windows[0] + " 500 400");
    WriteLogLine(log, "line", 0, "", 0, 0);
    // The view ends 10 pixels before the right and bottom edges; on a busy
    // machine the window takes its new size a little later.
    const std::string shot = dir.file("resized.png");
    std::string inside, margin;
    for (int attempt = 0; attempt < 50 && inside == margin; ++attempt) {
        ServeWindowEvents(0.1);
        Shell("import -window " + windows[0] + " " + shot);
        inside = Pixel(shot, 500 - 13, 400 - 13);
        margin = Pixel(shot, 500 - 4, 400 - 4);
    }
    EXPECT_NE(inside, margin);
    EXPECT_EQ(margin, Pixel(shot, 2, 2));  // the window's own background
}

TEST_F(Gui, WindowClosedByTheUserIsOpenedAgainByTheNextLine) {
    LogState log;
    WriteLogLine(log, "open", 1, "", 0, 0);
    WriteLogLine(log, "one", 0, "", 0, 0);
    const auto windows = FindWindows("Tessara Log");
    ASSERT_EQ(windows.size(), 1U);
    std::system(("(sleep 0.3; xdotool windowfocus --sync " + windows[0] + " key Escape) &").c_str());
    MessageWindowWaitClosed();
    EXPECT_FALSE(MessageWindowOpen());
    EXPECT_EQ(WriteLogLine(log, "reopens, not shown", 0, "", 0, 0), 1);
    ASSERT_TRUE(MessageWindowOpen());
    WriteLogLine(log, "two", 0, "", 0, 0);
    EXPECT_EQ(MessageWindowText(), "2: two");
}

// Runs the driver's box mode with text in the background, waits for its box
// and returns what standard error held by then; then sends keys to the box and
// waits for the driver. focusBefore and focusWhileUp receive the window that
// had the keyboard focus before the box came and while it was up.
struct BoxRun {
    std::string errWhileUp;
    std::string out;
    std::string focusBefore;
    std::string focusWhileUp;
    std::string box;
};

BoxRun RunBox(const TempDir& dir, const std::string& mode, const std::string& text) {
    const std::string script =
        "d=" + dir.path() + "; f0=$(xdotool getwindowfocus 2>/dev/null); \"$0\" " + mode + " \"$1\" >\"$d/out\" 2>\"$d/err\" & pid=$!; "
        "id=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tessara$' | head -n 1); "
        "cp \"$d/err\" \"$d/seen\"; f1=$(xdotool getwindowfocus 2>/dev/null); "
        "xdotool windowfocus --sync $id key Return; "
        "timeout 10 sh -c 'while kill -0 '$pid' 2>/dev/null; do sleep 0.05; done' || kill $pid; wait $pid; "
        "echo \"$f0 $f1 $id\"";
    std::istringstream ids(Shell("sh -c '" + ReplaceAll(script, "'", "'\\''") + "' " + PLATFORM_GUI_DRIVER + " '" +
                                 ReplaceAll(text, "'", "'\\''") + "'"));
    BoxRun run;
    ids >> run.focusBefore >> run.focusWhileUp >> run.box;
    run.errWhileUp = ReadFileBytes(dir.file("seen"));
    run.out = ReadFileBytes(dir.file("out"));
    return run;
}

TEST_F(Gui, MessageBoxSaysItsTextOnStandardErrorBeforeItWaitsForOk) {
    const BoxRun run = RunBox(dir, "messagebox", "Error 4: can't read the file\r\nfile: /tmp/a@b.kvx");
    EXPECT_EQ(run.errWhileUp, "Tessara: Error 4: can't read the file\r\nfile: /tmp/a@b.kvx\n");
    EXPECT_EQ(run.out, "returned\n");
}

TEST_F(Gui, ResidentBoxLeavesTheFocusWithTheProgramThatHasIt) {
    WindowManager manager;
    // A window of this process stands for the program the user works in.
    ASSERT_TRUE(OpenForm("Focus holder", 0, 0, 200, 100));
    ShowForm();
    std::vector<std::string> logWindow;
    WaitUntil(
        [&] {
            ServeWindowEvents(0.02);
            std::istringstream ids(Shell("xdotool search --onlyvisible --name '^Focus holder$' 2>/dev/null"));
            for (std::string id; ids >> id;) logWindow.push_back(id);
            return !logWindow.empty();
        },
        10000);
    ASSERT_EQ(logWindow.size(), 1u);
    Shell("xdotool windowfocus --sync " + logWindow[0]);

    const BoxRun quiet = RunBox(dir, "quietbox", "Error 3: Couldn't open the file!");
    EXPECT_EQ(quiet.focusBefore, logWindow[0]);
    EXPECT_EQ(quiet.focusWhileUp, logWindow[0]);
    EXPECT_EQ(quiet.out, "returned\n");
    // An ordinary run's box, which the user just asked for, takes it.
    Shell("xdotool windowfocus --sync " + logWindow[0]);
    const BoxRun asked = RunBox(dir, "messagebox", "Error 3: Couldn't open the file!");
    EXPECT_EQ(asked.focusWhileUp, asked.box);
    CloseForm();
}

TEST_F(Gui, ClipboardTextOutlivesTheProcessThatSetIt) {
    const std::string text = "x = 1\r\ny = 'a b' $(id) `id` \xE9\xFC;|&\r\n";
    RunOptions options;
    options.program = PLATFORM_GUI_DRIVER;
    options.keepDisplay = true;
    options.timeoutSeconds = 20;
    EXPECT_EQ(RunTessara(dir, {"setclip", text}, options).exitCode, 0);
    EXPECT_EQ(Shell("timeout 5 xclip -o -selection clipboard"), text);
}

TEST_F(Gui, ClipboardTextSetByAnotherProgramIsRead) {
    EXPECT_TRUE(ClipboardAvailable());
    const std::string text = "from another program\r\n\x01\xFF end";
    WriteFileBytes(dir.file("clip.txt"), text);
    // xclip stays behind to serve the text: it must not hold our pipe.
    Shell("xclip -selection clipboard -i < " + dir.file("clip.txt") + " >/dev/null 2>&1");
    EXPECT_EQ(ClipboardGetText(), text);
}

TEST_F(Gui, LargeClipboardTextRoundTrips) {
    std::string text;
    for (int i = 0; text.size() < 1000000; ++i) text += "expr = " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(ClipboardSetText(text));
    EXPECT_EQ(ClipboardGetText(), text);
}

} // namespace
