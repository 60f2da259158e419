// Runs of the real program: script input with every kind of line end, output
// replaced or appended, line selection, failures of the output file, binary
// bytes and a very large input.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "RunTessara.h"

namespace fs = std::filesystem;

namespace {

const std::string kSpaces(20, ' ');

std::string ExprBlock(int line, const std::string& expression, const std::string& result) {
    return "Ln " + std::to_string(line) + ": Expression = " + expression + ": " + kSpaces +
           "\r\n       Result => " + result + "\r\n\r\n";
}

// The header lines that follow the About block, time masked.
std::string HeaderTail(const std::string& inputFile, int commands, int errors) {
    return "'BatchRun : Time DD/MM/YYYY - hh:mm:ss\r\n'Input file: " + inputFile +
           "\r\n'Executed Commands: " + std::to_string(commands) +
           ", Errors found: " + std::to_string(errors) + "\r\n'" + std::string(84, '*') + "\r\n";
}

class ScriptRun : public ::testing::Test {
protected:
    RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) {
        RunResult r = RunTessara(dir, args, options);
        return r;
    }
    std::string In() const { return dir.file("in.kvx"); }
    std::string Out() const { return dir.file("out.kvx"); }

    TempDir dir;
};

// The same script with CR LF, LF and CR line ends gives the same output.
TEST_F(ScriptRun, ReadsEveryKindOfLineEnd) {
    const std::string expected = "''a\r\n" + ExprBlock(2, "1/4", "Number = 0.2500") + "''b\r\n";
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        WriteFileBytes(In(), "''a" + end + "expr = 1/4" + end + "' gone" + end + "''b" + end);
        RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ReadFileBytes(Out()), expected);
    }
}

TEST_F(ScriptRun, WritesTheHeader) {
    WriteFileBytes(In(), "expr = 1/4\r\nexpr = 1/0\r\nx = 1\r\n");
    RunResult r = Run({"/i", In(), "/o", Out()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string out = MaskRunTime(ReadFileBytes(Out()));
    std::size_t uses = out.find("\r\n\r\n'Uses library Kalvex.dll - rel. ");
    ASSERT_NE(uses, std::string::npos) << out;
    std::size_t time = out.find("'BatchRun : Time ");
    ASSERT_NE(time, std::string::npos) << out;
    EXPECT_EQ(out.substr(time - 77, 77), "'" + std::string(74, '-') + "\r\n");
    std::string tail = out.substr(time);
    EXPECT_TRUE(tail.starts_with(HeaderTail(ProgramPath(In()), 3, 1) + ExprBlock(1, "1/4", "Number = 0.2500")))
        << tail;
}

TEST_F(ScriptRun, CountsMoreThan999Errors) {
    std::string script;
    for (int k = 0; k < 1500; ++k) script += "expr = 1/0\r\n";
    script += "expr = 2\r\n";
    WriteFileBytes(In(), script);
    RunResult r = Run({"/i", In(), "/o", Out()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFileBytes(Out()).find("'Executed Commands: 1501, Errors found: 1500\r\n"),
              std::string::npos);
}

TEST_F(ScriptRun, ReplacesTheOutputFile) {
    WriteFileBytes(Out(), std::string(5000, 'o') + "\r\n");
    WriteFileBytes(In(), "''new\r\n");
    RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(Out()), "''new\r\n");
}

TEST_F(ScriptRun, AppendsOverAFinalCrLfOnly) {
    WriteFileBytes(In(), "''new\r\n");
    for (const std::string& old : {std::string("old\r\n"), std::string("old\n"), std::string("old")}) {
        WriteFileBytes(Out(), old);
        RunResult r = Run({"/i", In(), "/a", Out(), "/noh"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::string kept = old.ends_with("\r\n") ? "old" : old;
        EXPECT_EQ(ReadFileBytes(Out()), kept + "''new\r\n");
    }
    fs::remove(Out());
    EXPECT_EQ(Run({"/i", In(), "/a", Out(), "/noh"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(Out()), "''new\r\n");
}

// Runs that add nothing leave an appended file byte for byte as it was.
TEST_F(ScriptRun, AppendingNothingKeepsTheFinalLineEnd) {
    const struct {
        std::string script;
        std::vector<std::string> options;
    } cases[] = {
        {"", {"/noh"}},
        {"var = a; 1\r\nexpr = 2\r\n", {"/lns:1", "/noh"}},
        {"funct = f(x); x\r\nexpr = 2\r\n", {"/lns:1", "/noh"}},
        {"matr = [A]; 1; 1; 5\r\nexpr = 2\r\n", {"/lns:1", "/noh"}},
        {"' a comment\r\nexpr = 2\r\n", {"/lns:1", "/noh"}},
    };
    for (const auto& c : cases) {
        WriteFileBytes(In(), c.script);
        WriteFileBytes(Out(), "prev\r\n");
        std::vector<std::string> args{"/i", In(), "/a", Out()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ReadFileBytes(Out()), "prev\r\n") << c.script;
    }
    // The next block that adds something starts on a line of its own.
    WriteFileBytes(In(), "''next\r\n");
    EXPECT_EQ(Run({"/i", In(), "/a", Out(), "/noh"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(Out()), "prev''next\r\n");
}

// A statement's text ends at its first zero byte, in the script and in the
// files it reads: what is shown is what is evaluated.
TEST_F(ScriptRun, StatementTextEndsAtAZeroByte) {
    WriteFileBytes(dir.file("e.txt"), std::string("1+2\0+5", 7));
    WriteFileBytes(In(), std::string("expr = 1+2\0+5", 13) + "\r\nexprf = e.txt\r\n");
    RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(Out()), ExprBlock(1, "1+2", "Number = 3.0000") + ExprBlock(2, "1+2", "Number = 3.0000"));
}

TEST_F(ScriptRun, SelectedLinesWithLineCorrection) {
    WriteFileBytes(In(), "expr = 1\r\nexpr = 2\r\n''three\r\nexpr = 4\r\n");
    WriteFileBytes(Out(), "previous\r\n");
    RunResult r = Run({"/i", In(), "/a", Out(), "/lns:12;14", "/lc:10"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(Out()), "previous" + ExprBlock(2, "2", "Number = 2.0000") +
                                        ExprBlock(4, "4", "Number = 4.0000"));
}

TEST_F(ScriptRun, KeepsZeroAndHighBytes) {
    std::string line = std::string("''a\0b", 5);
    for (int c = 0x80; c <= 0xff; ++c) line += static_cast<char>(c);
    WriteFileBytes(In(), line + "\r\n");
    RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(Out()), line + "\r\n");
}

TEST_F(ScriptRun, OutputPathThatIsAFolder) {
    fs::create_directory(Out());
    WriteFileBytes(Out() + "/keep.txt", "keep");
    WriteFileBytes(In(), "''new\r\n");
    RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
    EXPECT_EQ(r.exitCode, 253);
    EXPECT_NE(r.err.find("Error 5: can't write the file\r\nfile: " + ProgramPath(Out())), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(Out() + "/keep.txt"), "keep");
}

// The output cannot be written in full (a file size limit stops the write;
// it binds root too): the old output file stays as it was.
TEST_F(ScriptRun, FailedOutputKeepsTheOldFile) {
    SKIP_ON_WINDOWS("the shell's file size limit binds a Linux program only");
    std::string script;
    for (int k = 0; k < 2000; ++k) script += "''a kept line that makes the output large\r\n";
    WriteFileBytes(In(), script);
    const std::string old = "old output\r\n";
    for (const char* mode : {"/o", "/a"}) {
        WriteFileBytes(Out(), old);
        RunOptions limited;
        limited.program = "/bin/sh";
        RunResult r = Run({"-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" \"$@\"", TessaraBinary(), "/i",
                           In(), mode, Out(), "/noh"},
                          limited);
        EXPECT_EQ(r.exitCode, 253) << mode << r.err;
        EXPECT_EQ(ReadFileBytes(Out()), old) << mode;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            EXPECT_FALSE(e.path().filename().string().starts_with(".out.kvx")) << "temporary file left";
        }
    }
}

TEST_F(ScriptRun, FolderWithoutWritePermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    fs::create_directory(dir.file("ro"));
    const std::string out = dir.file("ro/out.kvx");
    WriteFileBytes(out, "old\r\n");
    fs::permissions(dir.file("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    WriteFileBytes(In(), "''new\r\n");
    RunResult r = Run({"/i", In(), "/o", out, "/noh"});
    EXPECT_EQ(r.exitCode, 253);
    EXPECT_EQ(ReadFileBytes(out), "old\r\n");
}

// 200 MB of input, mostly comment lines: read, scanned and written in a few seconds.
TEST_F(ScriptRun, VeryLargeInput) {
    {
        std::ofstream in(In(), std::ios::binary);
        const std::string comment = "' " + std::string(96, 'c') + "\r\n"; // 100 bytes
        std::string block;
        for (int k = 0; k < 10000; ++k) block += comment;
        block.replace(0, 10, "''first  \r");
        for (int k = 0; k < 200; ++k) in.write(block.data(), static_cast<std::streamsize>(block.size()));
        in << "expr = 6*7\r\n";
    }
    ASSERT_GT(fs::file_size(In()), 200'000'000u);
    auto start = std::chrono::steady_clock::now();
    RunResult r = Run({"/i", In(), "/o", Out(), "/noh"});
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string expected;
    for (int k = 0; k < 200; ++k) expected += "''first\r\n";
    EXPECT_EQ(ReadFileBytes(Out()), expected + ExprBlock(2000201, "6*7", "Number = 42.0000"));
    EXPECT_LT(seconds, 20.0);
}

} // namespace
