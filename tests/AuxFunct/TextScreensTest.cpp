#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "RunTessara.h"
#include "AuxFunct/TextScreens.h"

namespace {

// Lines joined with CR LF after each.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

const std::string kDashes(74, '-');

TEST(AboutText, ShortAndLongForms) {
    EXPECT_EQ(GetAboutText(true, false),
              Lines({"'Program: Tessara.exe", "'Version: 0.0.0.0", "'" + kDashes}));
    EXPECT_EQ(GetAboutText(true, true), "");
    EXPECT_EQ(GetAboutText(false, true), "");

    const std::string longForm = GetAboutText(false, false);
    EXPECT_TRUE(longForm.starts_with(Lines({"Program: Tessara.exe", "Version: 0.0.0.0"})));
    EXPECT_TRUE(longForm.ends_with("\r\n" + kDashes + "\r\n"));
    std::size_t lines = 0;
    for (std::size_t k = 0; (k = longForm.find("\r\n", k)) != std::string::npos; k += 2) ++lines;
    EXPECT_EQ(lines, 7u);
    EXPECT_EQ(longForm.find('\''), std::string::npos);
}

TEST(UsageText, IsTheAboutTextAndTheFortyLines) {
    std::string expected = R"(Syntax:
Tessara /i InputFN.kvx [/o OutputFN.kvx] [/gclp] [/sel:'...'] [/sclp] [/del]
                       [/lns:x;y;z;] [/spl:path] [/tsr(v)] [/log:[file]]
                       [/dec:nr] [/rset] [/quit] [/rep]
Tessara [/h] [/o]

        /i InputFN[.kvx] Kalvex script file name (text format) to evaluate
        /o OutputFN.kvx  write output to file name (text format)
                         if missing, OutpFN.kvx in InputFN folder is used
        /a           /o=overwrite - /a=append, if file exists

        /gclp        get script text to evaluate from clipboard (disable /i)
        /sel:'...'   evaluate selected text (disable /i, enable /noh)
        /sclp        copy result to clipboard (disable /o and /a)
        /del         delete output files before execution
        /lns:x;y;z;  evaluate LineNrs only - max 10 (es. /lns:1;12;23)
                     forces /a parameter (append new lines to file)
                     => Note: This function may give errors if result depends|
                        on previous lines that where not elaborated
        /lc:n        correct Line Number by n (must have /lns:)
        /spl[:path\] save plots screenshots (jpg) in path with sequantial
                     filenames if path is missing, the same of OutputFN
                     is used
        /tsr[v]      Terminate Stay Resident [Visible] (preserving variables|
                     stored in memory)
        /dec:nr      show numbers using nr decimals (es. /dec:3 gives 0.456)
        /log[:file]  save log to file. If file is missing, uses Tessara.log
        /rset        ReSet EqParser and all command variables and strings
                     all other parameters are ignored
        /noh         No Header when appending to output
        /quit        Quit if Terminate Stay Resident

        /h           show help screen with commands and syntax
        /o           show supported operators, function, etc
        /w           show setup window
        /sf          show internal flags (must be TSR)
        /rep         repeat last command line

Program Exit Code returns Command Executed and Errors count
    es. 123002 means 123 Commands Executed and 2 Errors encountered
)";
    // "|" marks the two lines that end with a blank; every line ends with CR LF.
    std::string usage;
    for (char c : expected) usage += c == '|' ? std::string(" ") : c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(UsageText(false), GetAboutText(false, false) + usage);
    EXPECT_EQ(UsageText(true), GetAboutText(true, false) + usage);
}

TEST(FlagsText, ShowsEveryValue) {
    OptionState opt;
    opt.InpFN = "/w/a.kvx";
    opt.lnsF = 1;
    opt.LnsStr = ";3;";
    opt.decimals = -12;
    opt.splPath = "0";
    opt.delF = 7; // any value is shown as the number it holds
    EXPECT_EQ(FlagsText(opt), GetAboutText(true, false) +
                                  "Flags and Variables:\r\n"
                                  "InpFN   = /w/a.kvx\r\n"
                                  "lnsF    = 1\r\n"
                                  "LnsStr  = ;3;\r\n"
                                  "getFromClpF     = 0\r\n"
                                  "getFromSelTextF = 0\r\n"
                                  "\r\n"
                                  "OutpFN  = \r\n"
                                  "AppendF = 0\r\n"
                                  "NoHF    = 0\r\n"
                                  "SaveToClpBF = 0\r\n"
                                  "decimals= -12\r\n"
                                  "\r\n"
                                  "CurDir  = \r\n"
                                  "\r\n"
                                  "splF    = 0\r\n"
                                  "splPath = 0\r\n"
                                  "logF    = 0\r\n"
                                  "logFileN= \r\n"
                                  "tsrF    = 0\r\n"
                                  "tsrvF   = 0\r\n"
                                  "rsetF   = 0\r\n"
                                  "quitF   = 0\r\n"
                                  "delF    = 7\r\n"
                                  "\r\n"
                                  "Press any keys...");
}

const char* FakeOperators() { return "+ addition\r\nsqrt(x) square root"; }

TEST(OperatorsText, ListsTheLibrarysOffer) {
    KalvexApi kx;
    kx.KalvexOperators = &FakeOperators;
    const std::string text = OperatorsText(kx);
    EXPECT_TRUE(text.starts_with(GetAboutText(false, false)));
    EXPECT_TRUE(text.ends_with("+ addition\r\nsqrt(x) square root\r\n"));
}

// Runs ShowTextScreen in console mode with the given standard input and
// returns what it wrote to standard output.
std::string ShowInConsole(const std::string& text, const std::string& input, std::string& rest) {
    std::istringstream in(input);
    std::ostringstream out;
    auto* oldIn = std::cin.rdbuf(in.rdbuf());
    auto* oldOut = std::cout.rdbuf(out.rdbuf());
    LogState log;
    ShowTextScreen(text, true, log);
    std::cin.rdbuf(oldIn);
    std::cout.rdbuf(oldOut);
    std::getline(in, rest, '\0');
    return out.str();
}

TEST(TextScreen, ConsoleWritesTheTextAndWaitsForNothingWhereTheTextStays) {
    // Standard output here is no terminal opened for this process alone: the
    // text stays, so no answer is awaited and the input is left alone.
    std::string rest;
    EXPECT_EQ(ShowInConsole("a\r\nb", "answer\nnext\n", rest), "a\r\nb");
    EXPECT_EQ(rest, "answer\nnext\n");
    EXPECT_EQ(ShowInConsole(UsageText(false), "", rest), UsageText(false));
}

TEST(TextScreen, WindowModeGivesOneLinePerCarriageReturn) {
    // With a log file in use the lines land there, which shows how the text is cut.
    TempDir dir;
    LogState log;
    log.logFile = dir.file("screen.log");
    const std::string flags = FlagsText(OptionState{});
    ShowTextScreen(flags, false, log);
    // Everything up to the last CR, one record per line; "Press any keys..." ends no line.
    EXPECT_EQ(ReadFileBytes(log.logFile), "Tessara Syntax\r\n" + flags.substr(0, flags.rfind('\r')) + "\r\n");
    EXPECT_EQ(log.logOn, 1);
}

} // namespace
