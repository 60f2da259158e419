// The real program started with various command lines in temporary folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "RunTessara.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeaderStart = "'Program: Tessara.exe\r\n'Version: 0.0.0.0\r\n'" + std::string(74, '-') + "\r\n";
const std::string kScript = "''first line\r\n''second line\r\n";

// Why some cases cannot hold for the Windows build under Wine.
const char* const kSharedSettings = "the settings folder %APPDATA% is the Wine prefix's, shared by the runs of all tests";
const char* const kClipboardThere = "Windows has a clipboard without a display: /sclp never falls back to standard output";

// The run's folder as the program writes it.
std::string Folder(const TempDir& dir) { return ProgramPath(fs::canonical(dir.path()).string() + "/"); }

// The library that lacks functions, built for the platform under test.
std::string IncompleteLibrary() {
    return WindowsTarget().empty() ? INCOMPLETE_KALVEX : WindowsTarget() + "/bin/incomplete/Kalvex.dll";
}

std::string StoredCommandLine(const TempDir& dir) { return ReadFileBytes(dir.file("config/tessara/Tessara.INI")); }

// Options that run a copy of the program placed in dir, with library the
// only file beside it (none when empty).
RunOptions ProgramCopy(const TempDir& dir, const std::string& library = "") {
    fs::copy_file(TessaraBinary(), dir.file(ProgramFileName()));
    if (!library.empty()) fs::copy_file(library, dir.file(LibraryFileName()));
    RunOptions options;
    options.program = dir.file(ProgramFileName());
    return options;
}

TEST(Startup, NoParametersShowsTheUsageWithoutTheLibrary) {
    TempDir dir;
    const RunOptions options = ProgramCopy(dir);
    const RunResult r = RunTessara(dir, {}, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("Program: Tessara.exe\r\nVersion: 0.0.0.0\r\n")) << r.out;
    EXPECT_TRUE(r.out.ends_with("    es. 123002 means 123 Commands Executed and 2 Errors encountered\r\n"));
    EXPECT_EQ(r.err, "");

    // /h shows the same text, after loading the library.
    const RunResult help = RunTessara(dir, {"/h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, r.out);
    const RunResult helpAlone = RunTessara(dir, {"/h"}, options);
    EXPECT_EQ(helpAlone.exitCode, 1);
}

TEST(Startup, LinuxWordsAndSilentFailuresGetAnAnswer) {
    TempDir dir;
    const std::string usage = RunTessara(dir, {}).out;
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
        std::string errPart;
    };
    const Case cases[] = {
        {{"--help"}, 0, usage, ""},
        {{"-h"}, 0, usage, ""},
        {{"--version"}, 0, "tessara 1.0.0\nKalvex library 1.0.0.0\n", ""},
        {{"/x"}, 251, "", "Tessara: nothing to evaluate: no input was named"},
        {{"--help", "/x"}, 251, "", "nothing to evaluate"}, // only alone
    };
    for (const Case& c : cases) {
        const RunResult r = RunTessara(dir, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        EXPECT_EQ(r.out, c.out) << c.args[0];
        if (c.errPart.empty()) EXPECT_EQ(r.err, "") << c.args[0];
        else EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }

    // A misspelt keyword is named, with its line; the output stays as it was.
    // The result lines of an earlier run, prose and a matrix listing are no
    // misspelt statements.
    WriteFileBytes(dir.file("a.kvx"), "exrp = 7*6\r\nexpr = 1\r\nEXPR(2)\r\nmy note (draft) = 1\r\nVarPolyx(t)\r\n"
                                      "Ln 2: Expression = 1:\r\n       Result => Number = 1.0000\r\n"
                                      "       Stored => Number r = 1.4142\r\nmA(0,0)=1.0000\tmA(0,1)=2.0000\r\n"
                                      "Total = 3\r\n");
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/o", "out.kvx", "/noh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Tessara: line 1: unknown keyword \"exrp\"; the line is dropped\n"
                     "Tessara: line 5: unknown keyword \"varpolyx\"; the line is dropped\n");
    const std::string output = ReadFileBytes(dir.file("out.kvx"));
    EXPECT_TRUE(output.starts_with("Ln 2: Expression = 1:")) << output;
    EXPECT_EQ(output.find("exrp"), std::string::npos) << output;
}

TEST(Startup, ScreensDoNotWaitOnAnEditorsOpenInput) {
    // An editor that starts the program keeps its standard input open; the
    // usage and flags screens, written to a file, end without an answer.
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"/h"}, {"/sf", "/i", "a.kvx"}}) {
        Background run = StartTessara(dir, args, "screen");
        EXPECT_EQ(WaitForExit(run, 5000), 0) << (args.empty() ? "no arguments" : args[0]);
    }
    EXPECT_TRUE(FileExists(dir.file("Result.kvx")));
}

TEST(Startup, MissingLibraryEndsWithItsMessage) {
    TempDir dir;
    const RunOptions options = ProgramCopy(dir);
    const RunResult r = RunTessara(dir, {"/i", "a.kvx"}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Tessara: Installation failed!\r\n\r\nThis program will terminate\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(FileExists(dir.file("Result.kvx")));
}

TEST(Startup, LibraryLackingAFunctionIsNamed) {
    TempDir dir;
    const RunOptions options = ProgramCopy(dir, IncompleteLibrary());
    const RunResult r = RunTessara(dir, {"/h"}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "Tessara: Installation failed!\r\n\r\nThis program will terminate\r\n\r\nMissing function: GetE_Error\n");
    EXPECT_EQ(r.out, "");
}

TEST(Startup, FlagsScreenThenTheRun) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const RunResult r = RunTessara(dir, {"/dec:3", "/sf", "/i", "a.kvx"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with(kHeaderStart + "Flags and Variables:\r\nInpFN   = a.kvx\r\n")) << r.out;
    EXPECT_NE(r.out.find("\r\nOutpFN  = Result.kvx\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\r\ndecimals= 3\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\r\ndelF    = 0\r\n"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("\r\nPress any keys..."));
    EXPECT_TRUE(FileExists(dir.file("Result.kvx")));
}

TEST(Run, WholeLogOfARun) {
    TempDir dir;
    const std::string folder = Folder(dir);
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/log"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(MaskRunTime(ReadFileBytes(dir.file("Tessara.log"))),
              kHeaderStart +
                  "BatchRun      : Time DD/MM/YYYY - hh:mm:ss\r\n"
                  "Command Line  : \"/i a.kvx /log /\"\r\n"
                  "Input File    : \"" + folder + "a.kvx\"\r\n"
                  "Output File   : \"" + folder + "Result.kvx\"\r\n"
                  "Save Plot Path: \"0\"\r\n"
                  "Log File      : \"" + folder + "Tessara.log\"\r\n"
                  "Current Folder: \"" + folder + "\"\r\n"
                  "      Executed Commands: 0, Errors found: 0\r\n"
                  "   1: Command Line Executed.\r\n"
                  "Program End. Exit code: 0\r\n");
    const std::string output = ReadFileBytes(dir.file("Result.kvx"));
    EXPECT_TRUE(output.starts_with(kHeaderStart + "\r\n")) << output;
    EXPECT_TRUE(output.ends_with(kScript)) << output;
}

TEST(Run, AbsolutePathsWithSlashes) {
    TempDir dir;
    fs::create_directories(dir.file("my scripts"));
    fs::create_directories(dir.file("out dir"));
    fs::create_directories(dir.file("logs"));
    fs::create_directories(dir.file("elsewhere"));
    const std::string input = dir.file("my scripts/a.kvx");
    WriteFileBytes(input, kScript);
    RunOptions options;
    options.cwd = dir.file("elsewhere");
    const RunResult r = RunTessara(
        dir, {"/i", input, "/o", dir.file("out dir/r.kvx"), "/log:" + dir.file("logs/t.log"), "/noh"}, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(dir.file("out dir/r.kvx")), kScript);
    const std::string log = ReadFileBytes(dir.file("logs/t.log"));
    EXPECT_NE(log.find("Input File    : \"" + ProgramPath(input) + "\"\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Current Folder: \"" + ProgramPath(dir.file("my scripts/")) + "\"\r\n"), std::string::npos)
        << log;

    // Without a name after /o the output goes beside the input.
    const RunResult beside = RunTessara(dir, {"/i", input, "/o"}, options);
    EXPECT_EQ(beside.exitCode, 0);
    EXPECT_TRUE(FileExists(dir.file("my scripts/Result.kvx")));
}

TEST(Run, RepeatsTheLastCommandLineInANewProcess) {
    SKIP_ON_WINDOWS(kSharedSettings);
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    ASSERT_EQ(RunTessara(dir, {"/i", "a.kvx", "/o", "b.kvx", "/noh"}).exitCode, 0);
    EXPECT_NE(StoredCommandLine(dir).find("/i a.kvx /o b.kvx /noh /"), std::string::npos);
    fs::remove(dir.file("b.kvx"));

    const RunResult r = RunTessara(dir, {"/rep"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(dir.file("b.kvx")), kScript);
    EXPECT_NE(StoredCommandLine(dir).find("/i a.kvx /o b.kvx /noh /"), std::string::npos);
}

TEST(Run, RepeatWithUnreadableSettings) {
    SKIP_ON_WINDOWS(kSharedSettings);
    TempDir dir;
    // A folder in place of the settings file cannot be read, even by root.
    fs::create_directories(dir.file("config/tessara/Tessara.INI"));
    const RunResult r = RunTessara(dir, {"/rep", "/log"});
    EXPECT_EQ(r.exitCode, 251);
    EXPECT_NE(ReadFileBytes(dir.file("Tessara.log")).find("Command Line  : \"/rep /log /\"\r\n"), std::string::npos);
}

TEST(Run, RepeatWithSettingsWithoutReadPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    ASSERT_EQ(RunTessara(dir, {"/i", "a.kvx"}).exitCode, 0);
    fs::permissions(dir.file("config/tessara/Tessara.INI"), fs::perms::none);
    EXPECT_EQ(RunTessara(dir, {"/rep"}).exitCode, 251);
}

TEST(Run, DeleteRemovesTheOldOutputAndScreenshots) {
    TempDir dir;
    fs::create_directories(dir.file("shots"));
    WriteFileBytes(dir.file("a.kvx"), kScript);
    WriteFileBytes(dir.file("out.kvx"), "old content\r\n");
    WriteFileBytes(dir.file("shots/aPlotNr_1.jpg"), "jpeg");
    WriteFileBytes(dir.file("shots/holiday.jpg"), "jpeg");
    const RunResult r =
        RunTessara(dir, {"/i", "a.kvx", "/a", "out.kvx", "/noh", "/del", "/spl:" + dir.file("shots/")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(dir.file("out.kvx")), kScript);
    EXPECT_FALSE(FileExists(dir.file("shots/aPlotNr_1.jpg")));
    EXPECT_TRUE(FileExists(dir.file("shots/holiday.jpg")));

    // Without /del the output is appended, in place of the final line end.
    EXPECT_EQ(RunTessara(dir, {"/i", "a.kvx", "/a", "out.kvx", "/noh"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(dir.file("out.kvx")), kScript.substr(0, kScript.size() - 2) + kScript);
}

TEST(Run, UnreadableInputRunsNothingKeepsTheLastOutputAndEndsWith254) {
    TempDir dir;
    fs::create_directories(dir.file("folder.kvx"));
    const std::pair<const char*, std::string> cases[] = {{"missing.kvx", FileErrorText(ENOENT)},
                                                         {"folder.kvx", FileErrorText(EISDIR)}};
    for (const auto& [input, reason] : cases) {
        WriteFileBytes(dir.file("out.kvx"), "last good output\r\n");
        const RunResult r = RunTessara(dir, {"/i", input, "/o", "out.kvx", "/log"});
        EXPECT_EQ(r.exitCode, 254) << input;
        EXPECT_EQ(r.err, "Tessara: Error 4: can't read the file\r\nfile: " + Folder(dir) + input + "\r\n" + reason + "\n");
        EXPECT_EQ(ReadFileBytes(dir.file("out.kvx")), "last good output\r\n") << input;
        const std::string log = ReadFileBytes(dir.file("Tessara.log"));
        EXPECT_NE(log.find("could not be read; nothing was run or written.\r\nProgram End. Exit code: -2\r\n"),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("Executed Commands"), std::string::npos) << log;
    }
}

TEST(Run, UnwritableOutputEndsWith253) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/o", dir.file("no such folder/out.kvx")});
    EXPECT_EQ(r.exitCode, 253);
    EXPECT_NE(r.err.find("Error 5: can't write the file"), std::string::npos);
}

TEST(Run, UnreadableInputIsNotReplacedByItsOutput) {
    SKIP_ON_WINDOWS("a file that its owner may write but not read is made with Unix file modes");
    TempDir dir;
    const std::string script = dir.file("a.kvx");
    WriteFileBytes(script, kScript);
    RunOptions options = ProgramCopy(dir, BinaryFolder() + "/libKalvex.so");
    std::vector<std::string> args{"/i", "a.kvx", "/o", "a.kvx"};
    if (geteuid() == 0) {
        // Root reads every file: the program runs as an ordinary user, who
        // may write the script but not read it.
        if (!FileExists("/usr/bin/setpriv")) GTEST_SKIP() << "setpriv is missing";
        fs::permissions(dir.path(), fs::perms::all, fs::perm_options::replace);
        ASSERT_EQ(chown(script.c_str(), 65534, 65534), 0);
        args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", options.program});
        options.program = "/usr/bin/setpriv";
    }
    fs::permissions(script, fs::perms::owner_write, fs::perm_options::replace);
    const RunResult r = RunTessara(dir, args, options);
    fs::permissions(script, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    EXPECT_EQ(r.exitCode, 254);
    EXPECT_NE(r.err.find("Error 4: can't read the file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(script), kScript);
}

TEST(Run, LogFileNamedLikeAScriptGoesToTheDefaultLog) {
    TempDir dir;
    WriteFileBytes(dir.file("b.kvx"), kScript);
    for (const char* logName : {"b.kvx", "out.kvx"}) {
        const RunResult r = RunTessara(dir, {"/i", "b.kvx", "/o", "out.kvx", std::string("/log:") + logName});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_NE(r.err.find("the log goes to " + Folder(dir) + "Tessara.log"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(dir.file("b.kvx")), kScript);
        EXPECT_TRUE(ReadFileBytes(dir.file("out.kvx")).ends_with(kScript));
        EXPECT_NE(ReadFileBytes(dir.file("Tessara.log")).find("Program End. Exit code: 0"), std::string::npos);
    }
}

TEST(Run, NoInputSourceEndsWith251) {
    TempDir dir;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/o", "out.kvx", "/log"}, {"a.kvx", "/log"}, {"/quit", "/log"}}) {
        const RunResult r = RunTessara(dir, args);
        EXPECT_EQ(r.exitCode, 251);
        const std::string log = ReadFileBytes(dir.file("Tessara.log"));
        EXPECT_TRUE(log.ends_with("Error: Invalid Input file.\r\nfilename: .\r\n      Program will terminate.\r\n"
                                  "Program End. Exit code: -5\r\n"))
            << log;
    }
    EXPECT_FALSE(FileExists(dir.file("out.kvx")));
}

TEST(Run, UnknownOptionsAreIgnored) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const RunResult r = RunTessara(dir, {"/xyz", "/i", "a.kvx", "/help", "/inp", "b", "/noh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFileBytes(dir.file("Result.kvx")), kScript);
}

TEST(Run, SelectionAsInput) {
    SKIP_ON_WINDOWS("every \"/\" of a Windows command line begins an option field, also inside /sel:'...'");
    TempDir dir;
    const RunResult r = RunTessara(dir, {"/sel:''a/b'/", "/o", "out.kvx"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(dir.file("out.kvx")), "''a/b'\r\n");
}

TEST(Run, ClipboardOutputWithoutDisplayGoesToStandardOutput) {
    SKIP_ON_WINDOWS(kClipboardThere);
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/noh", "/sclp"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kScript);
    EXPECT_NE(r.err.find("no clipboard"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.file("Result.kvx")));
}

TEST(Run, FailedWriteToStandardOutputIsAFailedOutput) {
    SKIP_ON_WINDOWS(kClipboardThere);
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    RunOptions full;
    full.stdoutFile = "/dev/full";
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/noh", "/sclp"}, full);
    EXPECT_EQ(r.exitCode, 253);
    EXPECT_NE(r.err.find("Error 5: can't write the file\r\nfile: standard output"), std::string::npos) << r.err;
}

TEST(Run, NeedsNoDisplay) {
    // A display that does not exist would end any attempt to open it.
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), kScript);
    RunOptions options;
    options.env["DISPLAY"] = ":4242";
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/log"}, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(FileExists(dir.file("Result.kvx")));
}

} // namespace
