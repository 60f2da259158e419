// The setup window's composition and transfer of option values, without a
// window: composed lines, their way back through the command-line parser,
// the file names shown relative to the common path, and a headless /w run.
#include <gtest/gtest.h>

#include <functional>

#include "RunTessara.h"
#include "app/CommandLine.h"
#include "setup/SetupTransfer.h"

namespace {

SetupState Defaults() {
    SetupState st;
    st.decimals = 4;
    return st;
}

struct ComposeCase {
    const char* name;
    std::function<void(SetupState&)> set;
    const char* line;
};

TEST(ComposeCommandLine, PiecesFollowTheStoredValues) {
    const ComposeCase cases[] = {
        {"nothing asked for", [](SetupState&) {}, ""},
        {"input, appended output, decimals",
         [](SetupState& s) { s.InpFN = "a.kvx", s.OutpFN = "b.kvx", s.AppendF = 1, s.decimals = 3; },
         "/i a.kvx /a b.kvx /dec:3 "},
        {"clipboard input drops the input name and the line selection",
         [](SetupState& s) {
             s.InpFN = "a.kvx", s.OutpFN = "b.kvx", s.getFromClpF = 1;
             s.lnsF = 1, s.LnsStr = "3;7", s.lineCorrectionF = 1, s.lineCorrection = 2;
         },
         "/o b.kvx /gclp "},
        {"selection input is followed by a blank",
         [](SetupState& s) { s.InpFN = "a.kvx", s.getFromSelTextF = 1, s.lnsF = 1, s.NoHF = 1; },
         "/sel /noh "},
        {"clipboard output drops the output name",
         [](SetupState& s) { s.OutpFN = "b.kvx", s.SaveToClpBF = 1; }, "/sclp "},
        {"line selection with its correction",
         [](SetupState& s) {
             s.InpFN = "a.kvx", s.lnsF = 1, s.LnsStr = "3;7", s.lineCorrectionF = 1, s.lineCorrection = -2;
         },
         "/i a.kvx /lns:3;7 /lc:-2 "},
        {"a correction of 0 is left out, a bare selection has no colon",
         [](SetupState& s) { s.lnsF = 1, s.lineCorrectionF = 1; }, "/lns "},
        {"both resident flags", [](SetupState& s) { s.tsrF = 1, s.tsrvF = 1; }, "/tsr "},
        {"decimals 0", [](SetupState& s) { s.decimals = 0; }, "/dec:0 "},
        {"plots and log with and without names",
         [](SetupState& s) { s.splF = 1, s.splPath = "/home/ann/shots/", s.logF = 1; },
         "/spl:/home/ann/shots/ /log "},
        {"reset first, quit last",
         [](SetupState& s) { s.InpFN = "a.kvx", s.rsetF = 1, s.quitF = 1, s.delF = 1, s.selText = "x"; },
         "/rset /i a.kvx /quit "},
    };
    for (const ComposeCase& c : cases) {
        SetupState st = Defaults();
        c.set(st);
        EXPECT_EQ(ComposeCommandLine(st), c.line) << c.name;
    }
}

// Every composed line, parsed by the command-line parser, gives back the
// options it was composed from.
TEST(ComposeCommandLine, ComposedLinesParseBack) {
    const std::function<void(SetupState&)> states[] = {
        [](SetupState& s) {
            s.InpFN = "/home/ann/my scripts/a.kvx", s.OutpFN = "/home/ann/out dir/b.kvx", s.AppendF = 1;
            s.decimals = 7, s.splF = 1, s.splPath = "/home/ann/my /shots/", s.tsrvF = 1;
            s.logF = 1, s.logFileN = "/var/tmp/t.log";
        },
        [](SetupState& s) { s.getFromSelTextF = 1, s.OutpFN = "/tmp/o.kvx", s.NoHF = 1, s.decimals = 0; },
        [](SetupState& s) { s.getFromClpF = 1, s.SaveToClpBF = 1, s.NoHF = 1, s.tsrF = 1, s.decimals = -3; },
        [](SetupState& s) {
            s.InpFN = "rel/a.kvx", s.OutpFN = "rel/b.kvx", s.lnsF = 1, s.LnsStr = "2;5";
            s.lineCorrectionF = 1, s.lineCorrection = 4, s.AppendF = 1, s.NoHF = 1;
        },
        [](SetupState& s) { s.InpFN = "/srv/x/a.kvx", s.OutpFN = "/srv/x/b.kvx", s.rsetF = 1, s.quitF = 1; },
    };
    TempDir dir;
    KalvexApi kx;
    kx.ReSetEqParser = [] {};
    int index = 0;
    for (const auto& set : states) {
        SetupState st = Defaults();
        set(st);
        OptionState opt;
        RunState run;
        LogState log;
        run.CmdLn = ComposeCommandLine(st);
        const std::string line = run.CmdLn;
        ParseCommandLine(opt, run, log, kx, dir.file("Tessara.INI"));
        SCOPED_TRACE("state " + std::to_string(index++) + ": " + line);
        const bool fromFile = !st.getFromClpF && !st.getFromSelTextF;
        EXPECT_EQ(opt.InpFN, fromFile ? st.InpFN : "");
        EXPECT_EQ(opt.OutpFN, st.SaveToClpBF ? "" : st.OutpFN);
        EXPECT_EQ(opt.AppendF, st.AppendF);
        EXPECT_EQ(opt.getFromClpF, st.getFromClpF);
        EXPECT_EQ(opt.getFromSelTextF, st.getFromSelTextF);
        EXPECT_EQ(opt.SaveToClpBF, st.SaveToClpBF);
        EXPECT_EQ(opt.lnsF, st.lnsF);
        EXPECT_EQ(opt.LnsStr, st.lnsF ? ";" + st.LnsStr + ";" : "");
        EXPECT_EQ(opt.lineCorrection, st.lnsF ? st.lineCorrection : 0);
        EXPECT_EQ(opt.decimals, st.decimals);
        EXPECT_EQ(opt.splF, st.splF);
        EXPECT_EQ(opt.splPath, st.splPath);
        EXPECT_EQ(opt.logF, st.logF);
        EXPECT_EQ(opt.logFileN, st.logFileN);
        EXPECT_EQ(opt.tsrF, st.tsrF);
        EXPECT_EQ(opt.tsrvF, st.tsrvF && !st.tsrF ? 1 : 0);
        EXPECT_EQ(opt.NoHF, st.NoHF);
        EXPECT_EQ(opt.rsetF, st.rsetF);
        EXPECT_EQ(opt.quitF, st.quitF);
    }
}

TEST(TransferOptions, LoadGivesDefaultsAndStoreComposes) {
    OptionState opt;
    RunState run;
    run.startDir = "/home/ann/work/";
    opt.InpFN = "a.kvx";
    opt.lnsF = 1;
    opt.decimals = 6;
    opt.tsrF = 1;
    opt.selText = "'x' /";
    SetupState st;
    TransferOptions(TransferMode::Load, st, opt, run);
    EXPECT_EQ(opt.CurDir, "/home/ann/work/");
    EXPECT_EQ(st.InpFN, "a.kvx");
    EXPECT_EQ(st.lnsF, 0); // kept by the window, not taken from the options
    EXPECT_EQ(st.splPath, "/home/ann/work/");
    EXPECT_EQ(st.logFileN, "/home/ann/work/Tessara.log");
    EXPECT_EQ(st.decimals, 6);
    EXPECT_EQ(st.tsrF, 1);
    EXPECT_EQ(st.selText, "'x' /");
    EXPECT_EQ(run.CmdLn, ""); // loading composes nothing

    st.OutpFN = "b.kvx";
    st.splPath.clear();
    st.logFileN.clear();
    st.delF = 1;
    opt.CurDir = "/srv/data/";
    TransferOptions(TransferMode::Store, st, opt, run);
    EXPECT_EQ(run.startDir, "/srv/data/");
    EXPECT_EQ(opt.OutpFN, "b.kvx");
    EXPECT_EQ(opt.lnsF, 1);
    EXPECT_EQ(opt.splPath, "/srv/data/");
    EXPECT_EQ(opt.logFileN, "/srv/data/Tessara.log");
    EXPECT_EQ(opt.delF, 1);
    EXPECT_EQ(run.CmdLn, "/i a.kvx /o b.kvx /tsr /dec:6 ");
}

TEST(ShownFileName, LeavesOutOnlyALeadingCommonPath) {
    const std::string dir = "/home/ann/";
    struct Case {
        std::string full;
        bool use;
        std::string shown;
    } const cases[] = {
        {"/home/ann/a.kvx", true, "a.kvx"},
        {"/home/ann/a.kvx", false, "/home/ann/a.kvx"},
        // The path inside the name stays, so the name is rebuilt unchanged.
        {"/home/ann/old/home/ann/a.kvx", true, "old/home/ann/a.kvx"},
        {"/srv/home/ann/a.kvx", true, "/srv/home/ann/a.kvx"},
        {"b.kvx", true, "b.kvx"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownFileName(c.full, dir, c.use), c.shown) << c.full;
        if (c.use && c.full.starts_with('/')) {
            EXPECT_EQ(FullFileName(c.shown, dir), c.full) << c.full;
        }
    }
    EXPECT_EQ(ShownFileName("/home/ann/a.kvx", "", true), "/home/ann/a.kvx");
    EXPECT_EQ(FullFileName("b.kvx", dir), "/home/ann/b.kvx");
    EXPECT_EQ(FullFileName("", dir), "/home/ann/");
    EXPECT_EQ(FullFileName("b.kvx", ""), "b.kvx");
}

// Without a display /w is noted and left aside: the line runs as if it had
// not been given (/quit included), and like every /w line it is not stored.
TEST(SetupWithoutDisplay, NotesItAndRunsTheCommandLine) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), "expr = 1+1\r\n");
    for (const std::string out : {"b.kvx", "c.kvx"}) {
        std::vector<std::string> args{"/w", "/i", "a.kvx", "/noh", "/o", out};
        if (out == "c.kvx") args.push_back("/quit");
        const RunResult r = RunTessara(dir, args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "Tessara: no display; the setup window \"Tessara Setup\" is not shown, the run goes on\n");
        EXPECT_NE(ReadFileBytes(dir.file(out)).find("Result => Number = 2.0000"), std::string::npos) << out;
    }
    EXPECT_FALSE(FileExists(dir.file("config/tessara/Tessara.INI")));
}

} // namespace
