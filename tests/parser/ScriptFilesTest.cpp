#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "RunTessara.h"
#include "ScriptTestEnv.h"
#include "platform/FileContent.h"
#include "parser/ScriptFiles.h"

namespace fs = std::filesystem;

namespace {

class ScriptFiles : public ::testing::Test {
protected:
    // Entries of the temporary folder, so that a test can check that no
    // temporary file was left behind.
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++count;
        return count;
    }

    ScriptTestEnv t; // unsets the display first
    TempDir dir;
    std::int32_t exitCode = 0;
};

std::string AllBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    return bytes + "a=1\r\nshow(a)\r\n";
}

TEST_F(ScriptFiles, ReadsEveryByte) {
    WriteFileBytes(dir.file("in.kvx"), AllBytes());
    std::string text = "old";
    ReadInputScript(dir.file("in.kvx"), text, exitCode);
    EXPECT_EQ(text, AllBytes());
    EXPECT_EQ(exitCode, 0);
}

TEST_F(ScriptFiles, UnreadableInputLeavesTheTextAlone) {
    fs::create_directory(dir.file("folder"));
    const std::pair<std::string, const char*> cases[] = {{dir.file("missing.kvx"), "No such file or directory"},
                                                         {dir.file("folder"), "Is a directory"},
                                                         {"", "No such file or directory"}};
    for (const auto& [name, reason] : cases) {
        std::string text = "old";
        exitCode = 0;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ReadInputScript(name, text, exitCode));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Tessara: Error 4: can't read the file\r\nfile: " + name + "\r\n" + reason + "\n");
        EXPECT_EQ(text, "old");
        EXPECT_EQ(exitCode, -2);
    }
}

// Reading an endless device runs out of memory: that is a failed read with
// its message, not a crash.
TEST_F(ScriptFiles, InputTooLargeForMemoryIsAFailedRead) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more than the limit";
#endif
    auto readWithLimit = [] {
        rlimit limit{std::size_t{1} << 30, std::size_t{1} << 30};
        setrlimit(RLIMIT_AS, &limit);
        std::string text = "old";
        std::int32_t code = 0;
        ReadInputScript("/dev/zero", text, code);
        _exit(text == "old" ? code & 0xff : 1);
    };
    EXPECT_EXIT(readWithLimit(), ::testing::ExitedWithCode(254),
                "Tessara: Error 4: can't read the file\r\nfile: /dev/zero");
}

struct WriteCase {
    const char* name;
    bool oldFile;
    std::string old;
    bool append;
    std::string expected;
};

class WriteOutput : public ScriptFiles, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteOutput, ReplacesOrAppends) {
    const std::string out = dir.file("out.kvx");
    if (GetParam().oldFile) WriteFileBytes(out, GetParam().old);
    WriteOutputScript(out, GetParam().append, "yz", exitCode);
    EXPECT_EQ(ReadFileBytes(out), GetParam().expected);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(EntryCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteOutput,
    ::testing::Values(WriteCase{"ReplaceLonger", true, "a much longer old text\r\n", false, "yz"},
                      WriteCase{"ReplaceMissing", false, "", false, "yz"},
                      WriteCase{"AppendOverCrLf", true, "x\r\n", true, "xyz"},
                      WriteCase{"AppendAfterLf", true, "x\n", true, "x\nyz"},
                      WriteCase{"AppendAfterText", true, "x", true, "xyz"},
                      WriteCase{"AppendAfterCr", true, "x\r", true, "x\ryz"},
                      WriteCase{"AppendToEmpty", true, "", true, "yz"},
                      WriteCase{"AppendToMissing", false, "", true, "yz"},
                      WriteCase{"AppendKeepsZeroBytes", true, std::string("a\0\xff\r\n", 5), true,
                                std::string("a\0\xffyz", 5)}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(ScriptFiles, OutputPathThatIsAFolderFails) {
    fs::create_directory(dir.file("out"));
    WriteFileBytes(dir.file("out/keep.txt"), "keep");
    for (bool append : {false, true}) {
        exitCode = 0;
        testing::internal::CaptureStderr();
        WriteOutputScript(dir.file("out"), append, "text", exitCode);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Tessara: Error 5: can't write the file\r\nfile: " + dir.file("out") + "\n");
        EXPECT_EQ(exitCode, -3);
        EXPECT_TRUE(fs::is_directory(dir.file("out")));
        EXPECT_EQ(ReadFileBytes(dir.file("out/keep.txt")), "keep");
    }
}

TEST_F(ScriptFiles, OutputUnderARegularFileFails) {
    WriteFileBytes(dir.file("plain"), "plain");
    testing::internal::CaptureStderr();
    WriteOutputScript(dir.file("plain/out.kvx"), false, "text", exitCode);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, -3);
    EXPECT_EQ(ReadFileBytes(dir.file("plain")), "plain");
}

// A write that fails half-way (the file size limit stops it, even for root)
// must leave the old file as it was and no temporary file behind.
TEST_F(ScriptFiles, FailedWriteLeavesTheOldFileIntact) {
    const std::string out = dir.file("out.kvx");
    const std::string old = "old line 1\r\nold line 2\r\n";
    const std::string big(64 * 1024, 'n');
    for (bool append : {false, true}) {
        WriteFileBytes(out, old);
        auto writeWithLimit = [&] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{16 * 1024, 16 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::int32_t code = 0;
            WriteOutputScript(out, append, big, code);
            _exit(code & 0xff);
        };
        EXPECT_EXIT(writeWithLimit(), ::testing::ExitedWithCode(253), "Tessara: Error 5: can't write the file");
        EXPECT_EQ(ReadFileBytes(out), old);
        EXPECT_EQ(EntryCount(), 1u);
    }
}

// The temporary file beside the target must itself be a valid name, also
// for the longest file names the folder allows.
TEST_F(ScriptFiles, WritesTheLongestFileName) {
    const std::string out = dir.file(std::string(255, 'n'));
    for (bool append : {false, true}) {
        WriteOutputScript(out, append, "text\r\n", exitCode);
        EXPECT_EQ(exitCode, 0);
    }
    EXPECT_EQ(ReadFileBytes(out), "texttext\r\n");
    EXPECT_EQ(EntryCount(), 1u);
}

// A file the user may not write is not replaced behind its back, although
// its folder would allow a new file in its place.
TEST_F(ScriptFiles, ReadOnlyOutputIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes any file";
    const std::string out = dir.file("out.kvx");
    for (bool append : {false, true}) {
        WriteFileBytes(out, "old\r\n");
        chmod(out.c_str(), 0444);
        exitCode = 0;
        testing::internal::CaptureStderr();
        WriteOutputScript(out, append, "new", exitCode);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Error 5: can't write the file"), std::string::npos);
        EXPECT_EQ(exitCode, -3);
        EXPECT_EQ(ReadFileBytes(out), "old\r\n");
        chmod(out.c_str(), 0644);
    }
}

TEST_F(ScriptFiles, ReplacingKeepsModeAndLink) {
    const std::string out = dir.file("out.kvx");
    WriteFileBytes(out, "old");
    chmod(out.c_str(), 0640);
    fs::create_symlink(out, dir.file("link.kvx"));
    WriteOutputScript(dir.file("link.kvx"), false, "new", exitCode);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.kvx")));
    EXPECT_EQ(ReadFileBytes(out), "new");
    struct stat info {};
    stat(out.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// fileinp and fileout resolve names against the current folder.
class FileStatements : public ScriptFiles {
protected:
    void SetUp() override {
        saved = fs::current_path();
        fs::current_path(dir.path());
    }
    void TearDown() override { fs::current_path(saved); }
    fs::path saved;
};

TEST_F(FileStatements, FileinpJoinsLinesWithoutComments) {
    WriteFileBytes(dir.file("in.txt"), "1,2\r\n' note\r\n3");
    EXPECT_EQ(FileStatement("in.txt", "fileinp", "", exitCode), "1,23");
    WriteFileBytes(dir.file("in.txt"), "a\n  ' note\rb\r\n\r\nc\r\n");
    EXPECT_EQ(FileStatement("in.txt", "FILEINP", "", exitCode), "abc");
    EXPECT_EQ(exitCode, 0);
}

TEST_F(FileStatements, FileinpOfAMissingFile) {
    testing::internal::CaptureStderr();
    std::string failure;
    EXPECT_EQ(FileStatement("missing.txt", "fileinp", "", exitCode, &failure), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tessara: Error 3: Couldn't open the file!\r\n" +
                                                          dir.file("missing.txt") + "\r\nNo such file or directory\n");
    EXPECT_EQ(failure, dir.file("missing.txt") + ": No such file or directory");
    EXPECT_EQ(exitCode, -2);
}

TEST_F(FileStatements, FileoutWritesTheText) {
    WriteFileBytes(dir.file("res.txt"), "a longer old result");
    EXPECT_EQ(FileStatement("res.txt", "fileout", "Number = 2", exitCode), "");
    EXPECT_EQ(ReadFileBytes(dir.file("res.txt")), "Number = 2");
    fs::create_directory(dir.file("sub"));
    FileStatement(dir.file("sub/abs.txt"), "fileout", "x", exitCode);
    EXPECT_EQ(ReadFileBytes(dir.file("sub/abs.txt")), "x");
    EXPECT_EQ(exitCode, 0);
}

// A relative name is taken as it stands, a leading double quote included.
TEST_F(FileStatements, FileoutToARelativeNameWithAQuote) {
    fs::create_directory(dir.file("\"q"));
    EXPECT_TRUE(WriteFileSafely("\"q/res.txt", "x", false));
    EXPECT_EQ(ReadFileBytes(dir.file("\"q/res.txt")), "x");
}

TEST_F(FileStatements, FileoutFailureKeepsTheExitCode) {
    fs::create_directory(dir.file("res"));
    testing::internal::CaptureStderr();
    FileStatement("res", "fileout", "x", exitCode);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Tessara: Error 1: can't write the file.\r\n" + dir.file("res") + "\n");
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(fs::is_directory(dir.file("res")));
}

} // namespace
