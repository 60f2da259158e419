// The clipboard options of the real program and the text screen's window
// mode on a virtual X server (run under xvfb-run), with xclip as the other
// side of the clipboard.
#include <gtest/gtest.h>

#include "RunTessara.h"
#include "AuxFunct/TextScreens.h"
#include "platform/Display.h"
#include "platform/MessageWindow.h"

namespace {

const std::string kScript = "''first line\r\n''second line\r\n";

RunOptions WithDisplay() {
    RunOptions options;
    options.keepDisplay = true;
    return options;
}

TEST(ClipboardOptions, ScriptFromTheClipboard) {
    TempDir dir;
    SetClipboard("  " + kScript + "  ");
    const RunResult r = RunTessara(dir, {"/gclp", "/o", "out.kvx"}, WithDisplay());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.file("out.kvx")), kScript);
}

TEST(ClipboardOptions, OutputToTheClipboard) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    SetClipboard("before");
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/noh", "/sclp"}, WithDisplay());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(GetClipboard(), kScript);
    EXPECT_FALSE(FileExists(dir.file("Result.kvx")));
}

TEST(ClipboardOptions, SelectionToTheClipboard) {
    TempDir dir;
    const RunResult r = RunTessara(dir, {"/sel:''picked", "/sclp"}, WithDisplay());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(GetClipboard(), "''picked\r\n");
}

TEST(TextScreenWindow, ShowsTheUsageLineByLineInTheMessageWindow) {
    ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
    LogState log;
    ShowSyntax(false, false, log);
    ASSERT_TRUE(MessageWindowOpen());
    const std::string shown = MessageWindowText();
    EXPECT_TRUE(shown.starts_with("1: Program: Tessara.exe\n2: Version: 0.0.0.0\n")) << shown;
    EXPECT_NE(shown.find("\n13: \n"), std::string::npos) << shown; // the first empty usage line
    EXPECT_EQ(shown.find("Tessara Syntax"), std::string::npos);
    EXPECT_EQ(log.logLineNo, 47);

    // A second screen goes on in the open window, after its title line.
    ShowFlags(OptionState{}, false, log);
    const std::string more = MessageWindowText();
    EXPECT_NE(more.find("\n48: Tessara Syntax\n49: 'Program: Tessara.exe\n"), std::string::npos);
    EXPECT_EQ(more.find("Press any keys"), std::string::npos);
    CloseMessageWindow();
}

} // namespace
