// The real program's setup window (tessara /w) on a virtual X server, worked
// with xdotool: composing and running a command line, running the last one,
// the file requester, and the ways out of the window.
#include <gtest/gtest.h>

#include <filesystem>

#include "RunTessara.h"
#include "SetupGuiSupport.h"
#include "WindowManager.h"

namespace {

[[maybe_unused]] ::testing::Environment* const desktop = ::testing::AddGlobalTestEnvironment(new WindowsDesktop);

const std::string kScript = "expr = 2+3\r\n";

// Shell lines for the driver: W holds the setup window once found.
const std::string kFindSetup = "W=$(" + FindWindowCommand("Tessara Setup") + ") && sleep 0.3";

// Clicks the control whose client-area rectangle holds x, y.
std::string Click(int x, int y) {
    return "xdotool mousemove --window $W " + std::to_string(x) + " " + std::to_string(y) + " click 1 && sleep 0.2";
}

const std::string kCmdLine = Click(290, 305);
const std::string kOk = Click(430, 305);
const std::string kQuit = Click(500, 305);

// Copies the text of the command-line box 49 into the file path, again
// while it comes out empty: the box may not have been filled yet.
std::string CopyCommandLineBox(const std::string& path) {
    return "for i in 1 2 3 4 5 6 7 8 9 10; do " + Click(335, 355) +
           " && xdotool key --clearmodifiers ctrl+a ctrl+c && sleep 0.3; " +
           "xclip -selection clipboard -o > " + path + " 2>/dev/null; [ -s " + path + " ] && break; done";
}

RunOptions WithDisplay() {
    RunOptions options;
    options.keepDisplay = true;
    options.timeoutSeconds = 30;
    return options;
}

TEST(SetupWindowRun, CmdLineShowsTheComposedLineAndOkRunsIt) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    Driver driver(kFindSetup + " && " + kCmdLine + " && " + CopyCommandLineBox(dir.file("box49")) + " && " + kOk);
    const RunResult r = RunTessara(dir, {"/w", "/i", "a.kvx", "/o", "out.kvx", "/dec:3"}, WithDisplay());
    EXPECT_EQ(driver.Wait(), 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.file("box49")), "/i a.kvx /o out.kvx /dec:3 ");
    const std::string out = ReadFileBytes(dir.file("out.kvx"));
    EXPECT_NE(out.find("Ln 1: Expression = 2+3"), std::string::npos) << out;
    EXPECT_NE(out.find("Result => Number = 5"), std::string::npos) << out;
    // The composed line was run, and so it is the last command line now.
    EXPECT_NE(ReadFileBytes(SettingsFile(dir, WithDisplay())).find("lastCmdLn=/i a.kvx /o out.kvx /dec:3"),
              std::string::npos);
}

TEST(SetupWindowRun, OkWithUseItRunsTheLastCommandLine) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const std::string settings = SettingsFile(dir, WithDisplay());
    std::filesystem::create_directories(std::filesystem::path(settings).parent_path());
    WriteFileBytes(settings, "[Tessara]\nlastCmdLn=/i " + ProgramPath(dir.file("a.kvx")) + " /o " +
                                 ProgramPath(dir.file("again.kvx")) + " /\n");
    Driver driver(kFindSetup + " && " + Click(30, 345) + " && " + Click(50, 365) + " && " + kOk);
    const RunResult r = RunTessara(dir, {"/w", "/o", "other.kvx"}, WithDisplay());
    EXPECT_EQ(driver.Wait(), 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(FileExists(dir.file("again.kvx")));
    EXPECT_FALSE(FileExists(dir.file("other.kvx")));
}

TEST(SetupWindowRun, TheInputRequesterTakesATypedName) {
    TempDir dir;
    const std::string name = ProgramPath(dir.file("new one.kvx"));
    Driver driver(kFindSetup + " && " + Click(285, 47) + " && R=$(" + FindWindowCommand("OpenFile") +
                  ") && sleep 0.5 && " + FocusWindowCommand("$R") + " && xdotool key ctrl+a && xdotool type '" + name +
                  "' && xdotool key Return && sleep 0.5 && " + kCmdLine + " && " +
                  CopyCommandLineBox(dir.file("box49")) + " && " + kQuit);
    const RunResult r = RunTessara(dir, {"/w"}, WithDisplay());
    EXPECT_EQ(driver.Wait(), 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.file("box49")), "/i " + name + " ");
}

TEST(SetupWindowRun, QuitEndsWithZeroAndEscapeGoesOnWithTheOptions) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    {
        Driver driver(kFindSetup + " && " + kQuit);
        const RunResult r = RunTessara(dir, {"/w", "/i", "a.kvx"}, WithDisplay());
        EXPECT_EQ(driver.Wait(), 0);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_FALSE(FileExists(dir.file("Result.kvx")));
    }
    Driver driver(kFindSetup + " && " + FocusWindowCommand("$W") + " key Escape");
    const RunResult r = RunTessara(dir, {"/w", "/i", "a.kvx"}, WithDisplay());
    EXPECT_EQ(driver.Wait(), 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFileBytes(dir.file("Result.kvx")).find("Result => Number = 5"), std::string::npos);
}

// About, Syntax, Flags and Operators show their texts and leave the setup
// window open; a message window closed meanwhile is opened anew. The usage
// text is read back from the message window through the clipboard.
TEST(SetupWindowRun, TextButtonsLeaveTheWindowOpen) {
    TempDir dir;
    const std::string findLog = "L=$(" + FindWindowCommand("Tessara Log") + ") && sleep 0.3";
    const std::string copyLog = FocusWindowCommand("$L") + " key ctrl+a ctrl+c && sleep 0.3 && " +
                                "xclip -selection clipboard -o > " + dir.file("shown");
    Driver driver(kFindSetup + " && " + Click(290, 270) + " && B=$(" + FindWindowCommand("Tessara") +
                  ") && " + FocusWindowCommand("$B") + " key Return && sleep 0.3 && " + Click(430, 270) + " && " +
                  findLog + " && " + copyLog + " && " + FocusWindowCommand("$L") + " key Escape && sleep 0.3 && " +
                  Click(360, 305) +
                  " && " + findLog + " && " + Click(500, 270) + " && sleep 0.3 && " +
                  "xdotool search --onlyvisible --name '^Tessara Log$' | wc -l > " + dir.file("logs") + " && " +
                  kQuit);
    const RunResult r = RunTessara(dir, {"/w"}, WithDisplay());
    EXPECT_EQ(driver.Wait(), 0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.file("logs")), "1\n");
    // Numbered lines in reading order, empty ones kept, the title line not shown.
    const std::string shown = ReadFileBytes(dir.file("shown"));
    EXPECT_TRUE(shown.starts_with("1: Program: Tessara.exe\n2: Version: 0.0.0.0\n")) << shown;
    EXPECT_NE(shown.find("\n13: \n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\n47:     es. 123002 means 123 Commands Executed and 2 Errors encountered"),
              std::string::npos) << shown;
    EXPECT_EQ(shown.find("Tessara Syntax"), std::string::npos) << shown;
}

} // namespace
