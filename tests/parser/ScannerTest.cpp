#include <gtest/gtest.h>

#include <string>

#include "parser/ProcessScript.h"
#include "parser/ScriptLines.h"
#include "ScriptTestEnv.h"

namespace {

// Statement lines here use words that are no keyword, so that only the
// scanner's own rules decide what happens.
struct FrameCase {
    const char* name;
    std::string script;
    std::string processed;
    int commands;
};

class ScannerFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ScannerFrame, CopiesDropsAndCounts) {
    ScriptTestEnv t;
    ProcessResult r = ProcessScript(GetParam().script, t.env);
    EXPECT_EQ(r.processed, GetParam().processed);
    EXPECT_EQ(r.commandCount, GetParam().commands);
    EXPECT_EQ(r.errorCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScannerFrame,
    ::testing::Values(
        FrameCase{"Empty", "", "", 0},
        FrameCase{"NoKeyword", "x = 1", "", 1},
        FrameCase{"PauseAlone", "pause", "", 0},
        FrameCase{"PauseParens", "pause()", "", 1},
        FrameCase{"EmptyLines", "\r\n\r\n   \r\n", "", 0},
        FrameCase{"DoubleApostrophe", "''Note\r\n'Note\r\n  ''Note  ", "''Note\r\n''Note\r\n", 0},
        FrameCase{"CommentNotCounted", "'x = 1\r\n  ' y(2)", "", 0},
        FrameCase{"CommentAfterStatement", "foo(x) ' note\r\nbar ' a = b", "", 2},
        FrameCase{"SlashBlock", "a \\\\ b\r\nx = 1\r\n'c\r\nend //\r\ny = 2",
                  "a \\\\ b\r\nx = 1\r\n'c\r\nend //\r\n", 1},
        FrameCase{"SlashBlockOneLine", "\\\\ both //\r\nx = 1", "\\\\ both //\r\n", 1},
        FrameCase{"SlashBlockToEnd", "\\\\\r\nx = 1", "\\\\\r\nx = 1\r\n", 0},
        FrameCase{"BangBlock", "!\\ on\r\nx = 1\r\n''k\r\n!/ off\r\nz = 1",
                  "!\\ on\r\nx = 1\r\n''k\r\n!/ off\r\n", 1},
        FrameCase{"BangOnlyAtStart", "a !\\ b\r\nx = 1 !/", "", 1},
        FrameCase{"BangCloseOnlyAtStart", "!\\\r\na !/\r\n!/\r\nx = 1", "!\\\r\na !/\r\n!/\r\n", 1},
        FrameCase{"MixedLineEnds", "''a\r\n''b\n''c\r''d", "''a\r\n''b\r\n''c\r\n''d\r\n", 0},
        FrameCase{"LoneCrLines", "x = 1\ry = 2\r\rz(3)\r", "", 3},
        FrameCase{"NoLineBreak", "''only", "''only\r\n", 0},
        FrameCase{"TabsStay", "\t''tab", "", 0},
        FrameCase{"ProcessedAgain",
                  "'About\r\n'-----\r\n\r\n'Executed Commands: 1, Errors found: 0\r\n"
                  "''kept\r\nLn 1: Expression = 1/4:                     \r\n"
                  "       Result => Number = 0.2500\r\n\r\n",
                  "''kept\r\n", 2}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(Scanner, ResetsExitCodeBeforeEveryLine) {
    ScriptTestEnv t;
    t.exitCode = -3;
    ProcessScript("x = 1", t.env);
    EXPECT_EQ(t.exitCode, 0);
}

struct SelectionCase {
    const char* name;
    std::string LnsStr;
    int lineCorrection;
    std::string processed;
    std::string LnsStrAfter;
};

class ScannerSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(ScannerSelection, ProcessesOnlyListedLines) {
    ScriptTestEnv t;
    t.opt.lnsF = 1;
    t.opt.LnsStr = GetParam().LnsStr;
    t.opt.lineCorrection = GetParam().lineCorrection;
    ProcessResult r = ProcessScript("''1\r\n''2\r\n''3\r\n''4\r\n''5", t.env);
    EXPECT_EQ(r.processed, GetParam().processed);
    EXPECT_EQ(t.opt.LnsStr, GetParam().LnsStrAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Lns, ScannerSelection,
    ::testing::Values(SelectionCase{"TwoLines", ";2;4;", 0, "''2\r\n''4\r\n", ";"},
                      SelectionCase{"Unordered", ";4;2;", 0, "''2\r\n''4\r\n", ";"},
                      SelectionCase{"LineCorrection", ";12;14;", 10, "''2\r\n''4\r\n", ";"},
                      SelectionCase{"PastTheEnd", ";2;99;", 0, "''2\r\n", ";99;"},
                      SelectionCase{"Twice", ";3;3;", 0, "''3\r\n", ";3;"},
                      SelectionCase{"LeadingZero", ";03;5;", 0, "''5\r\n", ";03;"},
                      SelectionCase{"Empty", "", 0, "", ""}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(Scanner, UnselectedStatementsAreNotCounted) {
    ScriptTestEnv t;
    t.opt.lnsF = 1;
    t.opt.LnsStr = ";2;";
    ProcessResult r = ProcessScript("x = 1\r\ny = 2\r\nz = 3", t.env);
    EXPECT_EQ(r.commandCount, 1);
}

TEST(CutLines, EachLineEndEndsOneLine) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(CutLines(""), V{""});
    EXPECT_EQ(CutLines("a"), V{"a"});
    EXPECT_EQ(CutLines("a\r\n"), (V{"a", ""}));
    EXPECT_EQ(CutLines("a\n\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(CutLines("a\r\r\nb\n\n"), (V{"a", "", "b", "", ""}));
    EXPECT_EQ(CutLines("a\rb\rc\r"), (V{"a", "b", "c", ""}));
    EXPECT_EQ(CutLines("a\rb\r\nc\rd\ne"), (V{"a", "b", "c", "d", "e"}));
}

} // namespace
