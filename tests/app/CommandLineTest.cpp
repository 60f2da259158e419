#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "RunTessara.h"
#include "app/CommandLine.h"
#include "app/RunSteps.h"
#include "AuxFunct/TextUtil.h"
#include "platform/IniFile.h"

namespace {

int resetCalls = 0;
void CountReset() { ++resetCalls; }

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetCalls = 0;
        kx.ReSetEqParser = &CountReset;
    }

    // Parses cmdLn into opt; returns what ParseCommandLine returned.
    bool Parse(const std::string& cmdLn) {
        run.CmdLn = cmdLn;
        return ParseCommandLine(opt, run, log, kx, settings());
    }

    std::string settings() const { return dir.file("config/tessara/Tessara.INI"); }
    std::string Stored() const { return IniRead(settings(), "Tessara", "lastCmdLn", "<none>"); }

    TempDir dir;
    OptionState opt;
    RunState run;
    LogState log;
    KalvexApi kx;
};

struct Case {
    const char* cmdLn;
    std::function<void(const OptionState&)> check;
};

TEST_F(CommandLineTest, OptionsActAsTheTableSays) {
    const Case cases[] = {
        {"/i /home/ann/a.kvx /o /home/ann/out.kvx",
         [](const OptionState& o) {
             EXPECT_EQ(o.InpFN, "/home/ann/a.kvx");
             EXPECT_EQ(o.OutpFN, "/home/ann/out.kvx");
             EXPECT_EQ(o.InpF, 1);
         }},
        {"/i /home/ann/my scripts/a.kvx /o",
         [](const OptionState& o) {
             EXPECT_EQ(o.InpFN, "/home/ann/my scripts/a.kvx");
             EXPECT_EQ(o.OutpFN, "/home/ann/my scripts/Result.kvx");
             EXPECT_EQ(o.AppendF, 0);
         }},
        {"/i /home/ann/my /docs/b.kvx", [](const OptionState& o) { EXPECT_EQ(o.InpFN, "/home/ann/my /docs/b.kvx"); }},
        {"/log:/var/tmp/t.log",
         [](const OptionState& o) {
             EXPECT_EQ(o.logFileN, "/var/tmp/t.log");
             EXPECT_EQ(o.logF, 1);
         }},
        {"/sel:'a/b'/ /o out.kvx",
         [](const OptionState& o) {
             EXPECT_EQ(o.selText, "'a/b' /");
             EXPECT_EQ(o.getFromSelTextF, 1);
             EXPECT_EQ(o.OutpFN, "out.kvx");
         }},
        {"/sel:expr = 4 /2/", [](const OptionState& o) { EXPECT_EQ(o.selText, "expr = 4 /2 /"); }},
        {"/spl:/home/ann/shots", [](const OptionState& o) { EXPECT_EQ(o.splPath, "/home/ann/shots"); }},
        {"/spl:/home/ann/shots/", [](const OptionState& o) { EXPECT_EQ(o.splPath, "/home/ann/shots"); }},
        {"/spl:/home/ann/shots/ /o x",
         [](const OptionState& o) {
             EXPECT_EQ(o.splPath, "/home/ann/shots/");
             EXPECT_EQ(o.OutpFN, "x");
         }},
        {"/i C:\\My Scripts\\a.kvx /o",
         [](const OptionState& o) {
             EXPECT_EQ(o.InpFN, "C:\\My Scripts\\a.kvx");
             EXPECT_EQ(o.OutpFN, "C:\\My Scripts\\Result.kvx");
             EXPECT_EQ(o.AppendF, 0);
         }},
        {"/o /i a.kvx", [](const OptionState& o) { EXPECT_EQ(o.OutpFN, "Result.kvx"); }},
        {"/i a.kvx", [](const OptionState& o) { EXPECT_EQ(o.OutpFN, "Result.kvx"); }},
        {"/a out.kvx",
         [](const OptionState& o) {
             EXPECT_EQ(o.OutpFN, "out.kvx");
             EXPECT_EQ(o.AppendF, 1);
         }},
        {"/lns:3;7",
         [](const OptionState& o) {
             EXPECT_EQ(o.LnsStr, ";3;7;");
             EXPECT_EQ(o.lnsF, 1);
             EXPECT_EQ(o.AppendF, 1);
             EXPECT_EQ(o.NoHF, 1);
         }},
        {"/lc:3 /lns:1", [](const OptionState& o) {
             EXPECT_EQ(o.lineCorrection, 3);
             EXPECT_EQ(o.lineCorrectionF, 1);
         }},
        {"/lc:-2", [](const OptionState& o) { EXPECT_EQ(o.lineCorrection, -2); }},
        {"/dec:3",
         [](const OptionState& o) {
             EXPECT_EQ(o.decimals, 3);
             EXPECT_EQ(o.delF, 0);
         }},
        {"/del",
         [](const OptionState& o) {
             EXPECT_EQ(o.delF, 1);
             EXPECT_EQ(o.decimals, 4);
         }},
        {"/dec", [](const OptionState& o) { EXPECT_EQ(o.decimals, 0); }},
        {"/dec:$1F", [](const OptionState& o) { EXPECT_EQ(o.decimals, 31); }},
        {"/log:C:\\logs\\run.txt", [](const OptionState& o) { EXPECT_EQ(o.logFileN, "C:\\logs\\run.txt"); }},
        {"/log",
         [](const OptionState& o) {
             EXPECT_EQ(o.logFileN, "");
             EXPECT_EQ(o.logF, 1);
         }},
        {"/log:", [](const OptionState& o) {
             EXPECT_EQ(o.logFileN, "");
             EXPECT_EQ(o.logF, 1);
         }},
        {"/i d/a.kvx /a", [](const OptionState& o) {
             EXPECT_EQ(o.OutpFN, "d/Result.kvx");
             EXPECT_EQ(o.AppendF, 1);
         }},
        {"/spl:D:\\shots\\", [](const OptionState& o) { EXPECT_EQ(o.splPath, "D:\\shots\\"); }},
        {"/spl",
         [](const OptionState& o) {
             EXPECT_EQ(o.splPath, "spl");
             EXPECT_EQ(o.splF, 1);
         }},
        {"/spl:", [](const OptionState& o) { EXPECT_EQ(o.splPath, ""); }},
        {"/TSRV",
         [](const OptionState& o) {
             EXPECT_EQ(o.tsrF, 1);
             EXPECT_EQ(o.tsrvF, 0);
         }},
        {"/tsrv",
         [](const OptionState& o) {
             EXPECT_EQ(o.tsrvF, 1);
             EXPECT_EQ(o.tsrF, 0);
         }},
        {"/sel:'x /i y'",
         [](const OptionState& o) {
             EXPECT_EQ(o.selText, "'x /");
             EXPECT_EQ(o.InpFN, "y'");
         }},
        {"/sel:'x/i y'", [](const OptionState& o) { EXPECT_EQ(o.selText, "'x/i y' /"); }},
        {"/sel:a /b /i c /d", [](const OptionState& o) { EXPECT_EQ(o.selText, "a /b "); }},
        {"/gclp /o out.kvx",
         [](const OptionState& o) {
             EXPECT_EQ(o.getFromClpF, 1);
             EXPECT_EQ(o.NoHF, 1);
         }},
        {"/i a.kvx /gc", [](const OptionState& o) { EXPECT_EQ(o.InpF, 0); }},
        {"/gcxyz", [](const OptionState& o) { EXPECT_EQ(o.getFromClpF, 1); }},
        {"/sel:q /gclp",
         [](const OptionState& o) {
             EXPECT_EQ(o.getFromClpF, 1);
             EXPECT_EQ(o.getFromSelTextF, 0);
         }},
        {"/o x /sclp", [](const OptionState& o) { EXPECT_EQ(o.SaveToClpBF, 1); }},
        {"/noh /h /sf /w /qu /re",
         [](const OptionState& o) {
             EXPECT_EQ(o.NoHF, 1);
             EXPECT_EQ(o.helpF, 1);
             EXPECT_EQ(o.showFlagsF, 1);
             EXPECT_EQ(o.setupF, 1);
             EXPECT_EQ(o.quitF, 1);
             EXPECT_EQ(o.repF, 1);
         }},
        {"a.kvx",
         [](const OptionState& o) {
             EXPECT_EQ(o.InpF, 0);
             EXPECT_EQ(o.InpFN, "");
         }},
        {"/a.kvx", [](const OptionState& o) { EXPECT_EQ(o.InpF, 0); }},
        {"/help /inp a /xyz /i",
         [](const OptionState& o) {
             EXPECT_EQ(o.helpF, 0);
             EXPECT_EQ(o.InpF, 1);
             EXPECT_EQ(o.InpFN, "");
             EXPECT_EQ(o.OutpFN, "");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cmdLn);
        opt = OptionState{};
        Parse(c.cmdLn);
        c.check(opt);
    }
}

TEST_F(CommandLineTest, OptionsGivenIndices) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"/i a", {0}}, {"/o a", {1}},    {"/a a", {1}},     {"/sclp", {2}},  {"/lns:1", {3}},
        {"/spl", {4}}, {"/tsrv", {5}},   {"/tsr", {6}},     {"/quit", {6}},  {"/rset", {7}},
        {"/dec:1", {8}}, {"/log", {9}},  {"/del", {11}},    {"/noh", {12}},  {"/gclp", {13}},
        {"/sel:x", {14}}, {"/i a /gclp", {13}}, {"/o a /sclp", {2}}, {"/h /sf /w /rep /lc:1", {}},
    };
    for (const auto& [cmdLn, given] : cases) {
        SCOPED_TRACE(cmdLn);
        opt = OptionState{};
        Parse(cmdLn);
        std::array<std::int8_t, 15> expected{};
        for (int index : given) expected[static_cast<std::size_t>(index)] = 1;
        EXPECT_EQ(opt.optionsGiven, expected);
    }
}

TEST_F(CommandLineTest, ResetActsInCommandLineOrder) {
    Parse("/i a.kvx /rset");
    EXPECT_EQ(opt.InpFN, "");
    EXPECT_EQ(opt.InpF, 0);
    EXPECT_EQ(opt.rsetF, 1);
    EXPECT_EQ(resetCalls, 1);

    opt = OptionState{};
    Parse("/rset /i a.kvx /dec:2 /spl:x/ /a");
    EXPECT_EQ(opt.InpFN, "a.kvx");
    EXPECT_EQ(opt.AppendF, 1);
    EXPECT_EQ(resetCalls, 2);

    // What the reset leaves alone.
    Parse("/rset");
    EXPECT_EQ(opt.decimals, 2);
    EXPECT_EQ(opt.splF, 1);
    EXPECT_EQ(opt.splPath, "");
    EXPECT_EQ(opt.AppendF, 0);
    EXPECT_EQ(opt.OutpFN, "");
}

TEST_F(CommandLineTest, ResetIsLoggedWithTheLogSwitch) {
    log.logFile = dir.file("run.log");
    Parse("/rset");
    EXPECT_FALSE(FileExists(dir.file("run.log")));
    Parse("/log /rset");
    EXPECT_EQ(ReadFileBytes(dir.file("run.log")), "      Reset EqParser and all command variables and string\r\n");
}

TEST_F(CommandLineTest, ValuesPersistAcrossCommandLines) {
    Parse("/i a.kvx /dec:2");
    Parse("/noh");
    EXPECT_EQ(opt.InpFN, "a.kvx");
    EXPECT_EQ(opt.decimals, 2);
    EXPECT_EQ(opt.NoHF, 1);
}

TEST_F(CommandLineTest, ClosingSlashIsAppendedOnce) {
    Parse("/i a.kvx");
    EXPECT_EQ(run.CmdLn, "/i a.kvx /");
    Parse("/i a.kvx/");
    EXPECT_EQ(run.CmdLn, "/i a.kvx/");
    Parse("");
    EXPECT_EQ(run.CmdLn, " /");
}

TEST_F(CommandLineTest, LastCommandLineIsStoredAndRepeated) {
    EXPECT_FALSE(Parse("/i a.kvx /o b.kvx"));
    EXPECT_EQ(Stored(), "/i a.kvx /o b.kvx /");

    for (const char* notStored : {"/w", "/quit /i c.kvx"}) {
        opt = OptionState{};
        Parse(notStored);
        EXPECT_EQ(Stored(), "/i a.kvx /o b.kvx /") << notStored;
    }

    opt = OptionState{};
    EXPECT_TRUE(Parse("/rep"));
    EXPECT_EQ(run.CmdLn, "/i a.kvx /o b.kvx /");
    EXPECT_EQ(opt.InpF, 0); // the restored line is not parsed by the same call
    EXPECT_EQ(Stored(), "/i a.kvx /o b.kvx /");
}

TEST_F(CommandLineTest, LineThatCannotBeStoredIsNotRepeatedInItsPlace) {
    Parse("/i a.kvx /o b.kvx");
    // A selection of several lines cannot be kept as one settings value; an
    // older command line must not be repeated instead of it.
    opt = OptionState{};
    Parse("/sel:'expr = 1\r\nexpr = 2'/ /o c.kvx");
    opt = OptionState{};
    EXPECT_FALSE(Parse("/rep"));
    EXPECT_EQ(run.CmdLn, "/rep /");
}

TEST_F(CommandLineTest, RepeatWithoutStoredLineKeepsCommandLine) {
    EXPECT_FALSE(Parse("/rep"));
    EXPECT_EQ(run.CmdLn, "/rep /");
    // A folder where the settings file should be cannot be read, even by root.
    std::filesystem::create_directories(settings());
    EXPECT_FALSE(Parse("/rep"));
    EXPECT_EQ(run.CmdLn, "/rep /");
}

TEST_F(CommandLineTest, LongCommandLines) {
    std::string path = "/data";
    while (path.size() < 100000) path += "/folder name";
    path += "/a.kvx";
    std::string selection;
    for (int k = 0; k < 20000; ++k) selection += "x /";
    const auto start = std::chrono::steady_clock::now();
    Parse("/i " + path + " /o");
    EXPECT_EQ(opt.InpFN, path);
    Parse("/sel:" + selection);
    EXPECT_EQ(opt.selText, selection); // every " /" of the selection comes back
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(SplitCommandLine, SeparatorsAndPathContinuations) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine("/i /x/y.kvx /o /"), (V{"i /x/y.kvx", "o"}));
    EXPECT_EQ(SplitCommandLine("/sel:'a/b'/ /o x /"), (V{"sel:'a/b'", "o x"}));
    EXPECT_EQ(SplitCommandLine("/a//b /"), (V{"/a//b"})); // a path, not an option
    EXPECT_EQ(SplitCommandLine("stray /i a /"), (V{"stray", "i a"}));
    EXPECT_EQ(SplitCommandLine(" /  / /i a/"), (V{"i a"}));
    EXPECT_EQ(SplitCommandLine("/i a.kvx tail"), V{}); // the text after the last "/" is not a field
}

TEST(TextUtil, IntegerValue) {
    const std::pair<const char*, int> cases[] = {
        {"3", 3},       {" \t-12x", -12}, {"+7", 7},      {"$1f", 31}, {"%101", 5},
        {"-$10", -16},  {"abc", 0},       {"", 0},        {"- 3", 0},  {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(IntegerValue(text), value) << text;
}

TEST(RunSteps, JoinArguments) {
    EXPECT_EQ(JoinArguments({"/i", "my file.kvx", "/o", "out.kvx"}), "/i my file.kvx /o out.kvx");
    EXPECT_EQ(JoinArguments({"", "/h", " "}), "/h");
    EXPECT_EQ(JoinArguments({" /i ", "  a b  ", "/o"}), "/i   a b /o"); // inner blanks stay
    const std::vector<std::string> many(200000, "/x");
    EXPECT_EQ(JoinArguments(many).size(), 200000u * 3 - 1);
}

} // namespace
