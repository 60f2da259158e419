// Resident instances on a virtual X server (run under xvfb-run): the
// visible window "Tessara TSR", plot windows between runs, and the clipboard
// watched with /gclp, with xdotool and xclip as the user's side.
#include <gtest/gtest.h>

#include <signal.h>


#include "RunTessara.h"
#include "WindowManager.h"

namespace {

[[maybe_unused]] ::testing::Environment* const desktop = ::testing::AddGlobalTestEnvironment(new WindowsDesktop);

constexpr int kWaitMs = 10000;

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

class ResidentGui : public ::testing::Test {
protected:
    TempDir dir;
    Background resident;
    RunOptions display;

    void SetUp() override { display.keepDisplay = true; }

    void TearDown() override {
        if (resident.pid > 0) kill(resident.pid, SIGKILL);
        WaitForExit(resident, kWaitMs);
    }

    std::string Log() const { return ReadFileBytes(dir.file("Tessara.log")); }
    bool LogHas(const std::string& text) const {
        return WaitUntil([&] { return Log().find(text) != std::string::npos; }, kWaitMs);
    }

    void StartResident(const std::vector<std::string>& args) {
        resident = StartTessara(dir, args, "resident", display);
        ASSERT_TRUE(WaitUntil([&] { return ResidentListening(dir); }, kWaitMs)) << ReadFileBytes(resident.err);
    }
};

TEST_F(ResidentGui, VisibleWindowWaitsAndEscapeEndsTheInstance) {
    WriteFileBytes(dir.file("a.kvx"), "var = r; 2\r\n");
    WriteFileBytes(dir.file("b.kvx"), "expr = r*3\r\n");
    StartResident({"/tsrv", "/log", "/i", "a.kvx"});
    std::string id = ShellOutput("xdotool search --sync --name '^Tessara TSR$' | head -1");
    ASSERT_TRUE(id.ends_with('\n')) << id;
    id.pop_back();
    const std::string geometry = ShellOutput("xdotool getwindowgeometry " + id);
    // Windows widens a captioned window to its least width.
    if (WindowsTarget().empty()) {
        EXPECT_NE(geometry.find("Geometry: 60x60"), std::string::npos) << geometry;
    }

    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "out.kvx"}, display).exitCode, 0);
    ASSERT_TRUE(LogHas("   2: Command Line Executed. Waiting for further messages.\r\n"));
    EXPECT_NE(ReadFileBytes(dir.file("out.kvx")).find("Number = 6.0000"), std::string::npos);

    ShellOutput(FocusWindowCommand(id) + " key Escape");
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_FALSE(ResidentListening(dir));
    EXPECT_TRUE(Log().ends_with("Terminate Stay Resident Visible...\r\n"
                                "      Received SendMessage with CommandLine: \"/i b.kvx /o out.kvx /\"\r\n"
                                "      Executed Commands: 1, Errors found: 0\r\n"
                                "   2: Command Line Executed. Waiting for further messages.\r\n"
                                "Program End. Exit code: 0\r\n"))
        << Log();
}

// The ids of the windows named name, one per line; empty when there is none.
std::string WindowIds(const std::string& name) {
    const std::string ids = ShellOutput("xdotool search --name '^" + name + "$'");
    return ids == "<failed>" ? "" : ids;
}

TEST_F(ResidentGui, PlotWindowsStayOpenUntilTheRunAfter) {
    WriteFileBytes(dir.file("plot.kvx"), "plot(0; x; 1; 10) = x^2\r\n");
    WriteFileBytes(dir.file("b.kvx"), "expr = 1+1\r\n");
    StartResident({"/tsrv", "/log", "/i", "plot.kvx", "/o", "out1.kvx"});
    // The first run's window is served while the instance waits.
    std::string first;
    ASSERT_TRUE(WaitUntil([&] { return !(first = WindowIds("aPlot #1")).empty(); }, kWaitMs));
    usleep(300000);
    EXPECT_EQ(WindowIds("aPlot #1"), first);

    // The next run closes it first and opens its own.
    ASSERT_EQ(RunTessara(dir, {"/i", "plot.kvx", "/o", "out2.kvx"}, display).exitCode, 0);
    ASSERT_TRUE(LogHas("   2: Command Line Executed. Waiting for further messages.\r\n"));
    std::string second;
    ASSERT_TRUE(WaitUntil([&] { return !(second = WindowIds("aPlot #1")).empty(); }, kWaitMs));
    EXPECT_NE(second, first);

    // Escape in a plot window closes that window only.
    second.pop_back();
    ShellOutput(FocusWindowCommand(second) + " key Escape");
    EXPECT_TRUE(WaitUntil([&] { return WindowIds("aPlot #1").empty(); }, kWaitMs));
    EXPECT_TRUE(ResidentListening(dir));

    // A run without plots leaves none open.
    ASSERT_EQ(RunTessara(dir, {"/i", "plot.kvx", "/o", "out3.kvx"}, display).exitCode, 0);
    ASSERT_TRUE(LogHas("   3: Command Line Executed. Waiting for further messages.\r\n"));
    EXPECT_TRUE(WaitUntil([&] { return !WindowIds("aPlot #1").empty(); }, kWaitMs));
    ASSERT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "out4.kvx"}, display).exitCode, 0);
    ASSERT_TRUE(LogHas("   4: Command Line Executed. Waiting for further messages.\r\n"));
    EXPECT_TRUE(WaitUntil([&] { return WindowIds("aPlot #1").empty(); }, kWaitMs));

    EXPECT_EQ(RunTessara(dir, {"/quit"}, display).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
}

TEST_F(ResidentGui, NewClipboardTextIsRunButNotItsOwnOutput) {
    SetClipboard("''first\r\n");
    StartResident({"/tsrv", "/gclp", "/sclp", "/log"});
    EXPECT_TRUE(WaitUntil([] { return GetClipboard() == "''first\r\n"; }, kWaitMs));

    const std::string script = "expr = 1+1\r\n";
    SetClipboard(script);
    ASSERT_TRUE(LogHas("      Received Clipboard data (12 chars)\r\n"));
    ASSERT_TRUE(WaitUntil([] { return GetClipboard().find("Result => Number = 2.0000") != std::string::npos; },
                          kWaitMs));
    // The instance's own output stays on the clipboard and is not run again.
    usleep(500000);
    EXPECT_EQ(Count(Log(), "Received Clipboard data"), 1u) << Log();
    EXPECT_NE(GetClipboard().find("Ln 1: "), std::string::npos);

    EXPECT_EQ(RunTessara(dir, {"/quit"}, display).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
}

} // namespace
