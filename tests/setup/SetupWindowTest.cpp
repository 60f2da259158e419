// The setup window in this process on a virtual X server (run under
// xvfb-run): what the window shows on opening, and what the controls give
// back, for what no outside tool can read.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <vector>

#include "RunTessara.h"
#include "SetupGuiSupport.h"
#include "AuxFunct/TextScreens.h"
#include "platform/Display.h"
#include "platform/Form.h"
#include "platform/MessageWindow.h"
#include "setup/SetupLayout.h"
#include "setup/SetupTransfer.h"
#include "setup/SetupWindow.h"

namespace {

const std::string kStart = "/home/ann/work/";

class SetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DisplayAvailable()) << "run under xvfb-run";
        ps.run.startDir = kStart;
        ps.opt.decimals = 4;
        ps.settingsPath = dir.file("Tessara.INI");
    }
    void TearDown() override {
        CloseForm();
        CloseMessageWindow();
    }
    TempDir dir;
    // The records the process would hand the window.
    struct {
        OptionState opt;
        RunState run;
        SetupState setup;
        LogState log;
        KalvexApi kx;
        std::string settingsPath;
    } ps;
    SetupEnv env{ps.opt, ps.run, ps.setup, ps.log, ps.kx, ps.settingsPath};
};

void ExpectShape(int id, ControlKind kind, const std::string& caption, int x, int y, int w, int h) {
    const ControlSpec c = FormControl(id);
    EXPECT_EQ(c.id, id);
    EXPECT_EQ(c.kind, kind) << id;
    EXPECT_EQ(std::string(c.caption), caption) << id;
    EXPECT_EQ(c.x, x) << id;
    EXPECT_EQ(c.y, y) << id;
    EXPECT_EQ(c.w, w) << id;
    EXPECT_EQ(c.h, h) << id;
}

TEST_F(SetupWindowTest, OpensWithItsControlsAndTheStoredValues) {
    ps.opt.InpFN = kStart + "a.kvx";
    ps.opt.OutpFN = "/srv/out/b.kvx";
    ASSERT_TRUE(OpenSetupWindow(env));
    ASSERT_TRUE(FormOpen());

    ExpectShape(kHint, ControlKind::Label, "Click the button close to textboxes for opening the OpenFile dialog", 10,
                1, 355, 15);
    ExpectShape(kInputButton, ControlKind::Button, "- - - ", 265, 40, 40, 15);
    ExpectShape(kInputName, ControlKind::MultiLineTextBox, "a.kvx", 25, 55, 280, 20);
    ExpectShape(kOutputName, ControlKind::MultiLineTextBox, "/srv/out/b.kvx", 325, 55, 210, 20);
    ExpectShape(kResidentFrame, ControlKind::Frame, "Terminate Stay Resident Options: ", 20, 255, 220, 70);
    ExpectShape(kInvisible, ControlKind::OptionButton, "Invisible (/tsr)", 140, 295, 90, 20);
    ExpectShape(kSelectionIn, ControlKind::CheckBox, "Get text from selection (/sel:'...'/)", 25, 120, 180, 20);
    ExpectShape(kCommandLine, ControlKind::MultiLineTextBox, "", 140, 330, 390, 50);
    ExpectShape(kLineCorrection, ControlKind::CentredTextBox, "0", 250, 120, 30, 18);
    const std::pair<int, std::string> texts[] = {
        {kDecimals, "4"}, {kLineCorrection, "0"}, {kCommonPath, kStart},
        {kPlotPath, kStart}, {kLogFile, kStart + "Tessara.log"},
    };
    for (const auto& [id, text] : texts) EXPECT_EQ(FormText(id), text) << id;

    EXPECT_TRUE(FormChecked(kUseCommonPath));
    EXPECT_FALSE(FormChecked(kResident));
    const std::pair<int, bool> enabled[] = {
        {kInputName, true},  {kOnlyLines, true},     {kLineNumbers, false}, {kLineCorrection, false},
        {kPlotPath, false},  {kPlotPathButton, false}, {kLogFile, false},   {kCommonPath, true},
        {kInvisible, false}, {kVisible, false},      {kCommandLine, false}, {kUseIt, false},
    };
    for (const auto& [id, on] : enabled) EXPECT_EQ(FormEnabled(id), on) << id;

    const std::string id = Shell("xdotool search --name '^Tessara Setup$' | head -n 1");
    const std::string geometry = Shell("xdotool getwindowgeometry " + id);
    EXPECT_NE(geometry.find("Geometry: 551x393"), std::string::npos) << geometry;
    // Moving and closing only, no minimise or resize (window manager hints).
    const std::string hints = Shell("xprop -id " + id + " _MOTIF_WM_HINTS _NET_WM_WINDOW_TYPE");
    EXPECT_NE(hints.find("= 0x3, 0x24, 0x1a, 0x0, 0x0"), std::string::npos) << hints;
    EXPECT_NE(hints.find("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG"), std::string::npos) << hints;
}

// The option a caption names: "/tsr" of "Terminate Stay Resident (/tsr[v])",
// "/sel" of "... (/sel:'...'/)"; empty when it names none.
std::string CaptionOption(const std::string& caption) {
    const std::size_t open = caption.find("(/");
    if (open == std::string::npos) return "";
    return caption.substr(open + 1, caption.find_first_of("[:')", open + 1) - open - 1);
}

// Every control whose caption names an option, clicked (and its text box
// filled) in a window that asks for nothing else, makes "OK" compose exactly
// that option.
TEST_F(SetupWindowTest, EveryCaptionedOptionComposesThatOption) {
    struct Row {
        int id;
        std::string captionOption;
        std::vector<int> clicks;
        std::pair<int, std::string> text; // a text box filled before the clicks
        std::string composed;
    };
    const Row rows[] = {
        {kOnlyLines, "/lns", {kOnlyLines}, {kLineNumbers, "3"}, "/lns:3 "},
        {kClipboardIn, "/gclp", {kClipboardIn}, {}, "/gclp "},
        {kSelectionIn, "/sel", {kSelectionIn}, {}, "/sel "},
        {kClipboardOut, "/clp", {kClipboardOut}, {}, "/sclp "},
        {kDecimalsLabel, "/dec", {}, {kDecimals, "2"}, "/dec:2 "},
        {kSavePlots, "/spl", {kSavePlots}, {}, "/spl:" + kStart + " "},
        {kLogToFile, "/log", {kLogToFile}, {}, "/log:" + kStart + "Tessara.log "},
        {kResident, "/tsr", {kResident}, {}, "/tsrv "},
        {kInvisible, "/tsr", {kResident, kInvisible}, {}, "/tsr "},
        {kVisible, "/tsrv", {kResident, kInvisible, kVisible}, {}, "/tsrv "},
    };
    std::set<int> captioned;
    for (const auto controls : {SetupControlsUpToLog(), SetupControlsFromResident()})
        for (const ControlSpec& control : controls)
            if (!CaptionOption(control.caption).empty()) captioned.insert(control.id);
    std::set<int> covered;
    for (const Row& row : rows) covered.insert(row.id);
    EXPECT_EQ(captioned, covered);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.composed);
        decltype(ps) fresh;
        fresh.opt.decimals = 4;
        fresh.run.startDir = kStart;
        fresh.settingsPath = ps.settingsPath;
        SetupEnv window{fresh.opt, fresh.run, fresh.setup, fresh.log, fresh.kx, fresh.settingsPath};
        ASSERT_TRUE(OpenSetupWindow(window));
        EXPECT_EQ(CaptionOption(FormControl(row.id).caption), row.captionOption);
        if (row.text.first != 0) FormSetText(row.text.first, row.text.second);
        std::string script = "W=$(" + FindWindowCommand(kSetupTitle) + ")";
        for (const int id : row.clicks) script += " && " + ClickControl(FormControl(id));
        Driver driver(script + " && " + ClickControl(FormControl(kOk)));
        SetupEventLoop(window);
        EXPECT_EQ(driver.Wait(), 0);
        EXPECT_EQ(fresh.setup.runRequested, 1);
        EXPECT_EQ(fresh.run.CmdLn, row.composed);
    }
}

TEST_F(SetupWindowTest, InvisibleResidentTicksTheBoxAndSelectsVisible) {
    ps.opt.tsrF = 1;
    ASSERT_TRUE(OpenSetupWindow(env));
    EXPECT_TRUE(FormChecked(kResident));
    EXPECT_TRUE(FormChecked(kVisible));
    EXPECT_FALSE(FormChecked(kInvisible));
    // The enabled state of the option buttons follows the visible flag.
    EXPECT_FALSE(FormEnabled(kInvisible));
    EXPECT_FALSE(FormEnabled(kVisible));
    // Read back, the window asks for the visible resident mode.
    ReadControls(ps.setup, ps.opt);
    EXPECT_EQ(ComposeCommandLine(ps.setup), "/tsrv ");
}

TEST_F(SetupWindowTest, ASecondOpeningKeepsOnlyLinesWithItsBoxesDisabled) {
    ASSERT_TRUE(OpenSetupWindow(env));
    FormSetChecked(kOnlyLines, true);
    FormSetText(kLineNumbers, "3;7");
    FormSetText(kLineCorrection, "2");
    ReadControls(ps.setup, ps.opt);
    EXPECT_EQ(ps.setup.lnsF, 1);
    CloseForm();

    ps.opt.lineCorrection = 5;
    ASSERT_TRUE(OpenSetupWindow(env));
    EXPECT_TRUE(FormChecked(kOnlyLines));
    EXPECT_FALSE(FormEnabled(kLineNumbers));
    EXPECT_FALSE(FormEnabled(kLineCorrection));
    EXPECT_EQ(FormText(kLineCorrection), "5"); // reloaded from the options
    UpdateEnabledStates(ps.setup, true);
    EXPECT_TRUE(FormEnabled(kLineNumbers));
    EXPECT_TRUE(FormEnabled(kLineCorrection));
}

TEST_F(SetupWindowTest, ControlsAreReadBackAndFileFieldsFollowTheCommonPath) {
    ps.opt.splF = 1;
    ps.opt.splPath = "0";
    ps.opt.InpFN = kStart + "sub/a.kvx";
    ps.opt.OutpFN = "/srv/b.kvx";
    ASSERT_TRUE(OpenSetupWindow(env));
    EXPECT_EQ(ps.setup.splPath, kStart); // "0" means no folder yet
    EXPECT_EQ(FormText(kPlotPath), kStart);

    FormSetText(kDecimals, "many");
    FormSetChecked(kOnlyLines, true); // with no line numbers: no /lns
    FormSetChecked(kLogToFile, true);
    FormSetText(kLogFile, "");
    FormSetText(kPlotPath, "shots/");
    ReadControls(ps.setup, ps.opt);
    EXPECT_EQ(ps.setup.logF, 0);
    EXPECT_EQ(ComposeCommandLine(ps.setup), "/i " + kStart + "sub/a.kvx /o /srv/b.kvx /spl:" + kStart + "shots/ /dec:0 ");

    // Leaving the common path shows full names; the names stay the same.
    FormSetChecked(kUseCommonPath, false);
    ps.setup.useCommonPath = 0;
    RefreshFileFields(ps.setup, ps.opt);
    EXPECT_EQ(FormText(kInputName), kStart + "sub/a.kvx");
    EXPECT_EQ(ps.setup.InpFN, kStart + "sub/a.kvx");
    EXPECT_EQ(ps.setup.OutpFN, "/srv/b.kvx");
    ps.setup.useCommonPath = 1;
    RefreshFileFields(ps.setup, ps.opt);
    EXPECT_EQ(FormText(kInputName), "sub/a.kvx");
    EXPECT_EQ(FormText(kOutputName), "/srv/b.kvx");
    EXPECT_EQ(ps.setup.InpFN, kStart + "sub/a.kvx");
}

// The message window closed by the user while the setup window is open is
// forgotten by the log, so that the next text screen opens a new one.
TEST_F(SetupWindowTest, ClosingTheMessageWindowResetsTheLog) {
    ASSERT_TRUE(OpenSetupWindow(env));
    ShowSyntax(false, false, ps.log);
    ASSERT_TRUE(MessageWindowOpen());
    ASSERT_EQ(ps.log.logOn, 1);
    Driver driver("W=$(" + FindWindowCommand("Tessara Log") + ") && xdotool windowfocus --sync $W key Escape && " +
                  "S=$(" + FindWindowCommand("Tessara Setup") + ") && xdotool windowfocus --sync $S key Escape");
    SetupEventLoop(env);
    EXPECT_FALSE(FormOpen());
    EXPECT_FALSE(MessageWindowOpen());
    EXPECT_EQ(ps.log.logOn, 0);
    EXPECT_EQ(ps.setup.runRequested, 0);
}

} // namespace
