#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "RunTessara.h"
#include "ScriptTestEnv.h"
#include "parser/RunScript.h"

namespace {

const char* FakeVersion() { return "1.2.3.4"; }

const std::string kAbout = "'Tessara 1.0\r\n'---\r\n";

std::string Header(const std::string& inputFile, int commands, int errors) {
    return kAbout + "\r\n'Uses library Kalvex.dll - rel. 1.2.3.4\r\n'" + std::string(74, '-') +
           "\r\n'BatchRun : Time DD/MM/YYYY - hh:mm:ss\r\n'Input file: " + inputFile +
           "\r\n'Executed Commands: " + std::to_string(commands) +
           ", Errors found: " + std::to_string(errors) + "\r\n'" + std::string(84, '*') + "\r\n";
}

class RunScriptHeader : public ::testing::Test {
protected:
    void SetUp() override {
        t.kx.KalvexVersion = &FakeVersion;
        t.opt.InpFN = "/home/ann/a.kvx";
        t.exitCode = -3;
        // The log line goes to a file so that it can be read back.
        t.log.logOn = 1;
        t.log.logFile = dir.file("run.log");
    }
    std::string Log() const { return ReadFileBytes(dir.file("run.log")); }

    TempDir dir;
    ScriptTestEnv t;
};

TEST_F(RunScriptHeader, PutsTheHeaderBeforeTheProcessedText) {
    std::string text = "''kept\r\nx = 1\r\ny(2)\r\n'dropped";
    std::size_t length = RunScript(t.env, kAbout, text);
    EXPECT_EQ(MaskRunTime(text), Header("/home/ann/a.kvx", 2, 0) + "''kept\r\n");
    EXPECT_EQ(length, text.size());
    EXPECT_EQ(t.exitCode, 0);
    EXPECT_NE(Log().find("      Executed Commands: 2, Errors found: 0"), std::string::npos);
}

TEST_F(RunScriptHeader, EmptyScriptAndEmptyInputName) {
    t.opt.InpFN.clear();
    std::string text;
    RunScript(t.env, kAbout, text);
    EXPECT_EQ(MaskRunTime(text), Header("", 0, 0));
}

TEST_F(RunScriptHeader, LibraryWithoutVersion) {
    t.kx.KalvexVersion = nullptr;
    std::string text;
    RunScript(t.env, kAbout, text);
    EXPECT_NE(text.find("\r\n'Uses library Kalvex.dll - rel. \r\n"), std::string::npos);
}

TEST_F(RunScriptHeader, NoHeaderGivesTheProcessedTextAlone) {
    t.opt.NoHF = 1;
    std::string text = "''kept\r\nx = 1";
    EXPECT_EQ(RunScript(t.env, kAbout, text), 8u);
    EXPECT_EQ(text, "''kept\r\n");
    EXPECT_EQ(t.exitCode, 0);
    EXPECT_NE(Log().find("      Executed Commands: 1, Errors found: 0"), std::string::npos);
}

TEST_F(RunScriptHeader, CountsBeyondAThousandCommands) {
    std::string text;
    for (int k = 0; k < 2500; ++k) text += "x = 1\r\n";
    RunScript(t.env, kAbout, text);
    EXPECT_NE(text.find("'Executed Commands: 2500, Errors found: 0\r\n"), std::string::npos);
}

} // namespace
