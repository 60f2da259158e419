// Real resident processes without a display, each in a private runtime
// folder, ended by their pid.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "MailboxPeer.h"
#include "RunTessara.h"
#include "platform/MailboxSocket.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 10000;

class Resident : public ::testing::Test {
protected:
    TempDir dir;
    Background resident;

    void SetUp() override {
        WriteFileBytes(dir.file("a.kvx"), "var = r; 2.5\r\n");
        WriteFileBytes(dir.file("b.kvx"), "expr = r*3\r\n");
    }

    void TearDown() override {
        if (resident.pid > 0) kill(resident.pid, SIGKILL);
        WaitForExit(resident, kWaitMs);
    }

    std::string Folder() const { return dir.file("runtime/tessara"); }
    std::string Socket() const { return dir.file("runtime/tessara/tsr"); }
    std::string Log() const { return ReadFileBytes(dir.file("Tessara.log")); }

    // Starts the resident instance and waits until its mailbox accepts
    // connections: the socket exists a moment before that, and a stale one
    // may be there from the start.
    void StartResident(const std::vector<std::string>& args) {
        resident = StartTessara(dir, args, "resident");
        ASSERT_TRUE(WaitUntil([&] {
            const int fd = ConnectMailbox(Socket());
            if (fd >= 0) close(fd);
            return fd >= 0;
        }, kWaitMs)) << ReadFileBytes(resident.err);
    }

    bool LogHas(const std::string& text, int timeoutMs = kWaitMs) const {
        return WaitUntil([&] { return Log().find(text) != std::string::npos; }, timeoutMs);
    }

    bool Written(const std::string& name) const {
        return WaitUntil([&] { return FileExists(dir.file(name)); }, kWaitMs);
    }
};

TEST_F(Resident, HandedOverLinesRunWithTheStateOfTheRunsBefore) {
    StartResident({"/tsr", "/log", "/dec:2", "/i", "a.kvx", "/o", "out1.kvx"});
    const RunResult handOver = RunTessara(dir, {"/i", "b.kvx", "/o", "out2.kvx", "/noh"});
    EXPECT_EQ(handOver.exitCode, 0);
    EXPECT_EQ(handOver.out + handOver.err, "");
    ASSERT_TRUE(Written("out2.kvx"));
    // The variable of the first run and its /dec:2 are still in force.
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(dir.file("out2.kvx")).find("Result => Number = 7.50\r\n") !=
                                       std::string::npos; }, kWaitMs))
        << ReadFileBytes(dir.file("out2.kvx"));

    // /rset makes the library forget r; the options stay.
    EXPECT_EQ(RunTessara(dir, {"/rset", "/i", "b.kvx", "/o", "out3.kvx"}).exitCode, 0);
    ASSERT_TRUE(LogHas("   3: Command Line Executed."));
    EXPECT_NE(ReadFileBytes(dir.file("out3.kvx")).find("ERROR"), std::string::npos);

    const RunResult quit = RunTessara(dir, {"/quit"});
    EXPECT_EQ(quit.exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_FALSE(FileExists(Socket()));
    const std::string log = Log();
    const std::string tail = log.substr(log.find("   1: Command Line Executed."));
    EXPECT_EQ(tail,
              "   1: Command Line Executed.\r\n"
              "      Terminate Stay Resident...\r\n"
              "      Received SendMessage with CommandLine: \"/i b.kvx /o out2.kvx /noh /\"\r\n"
              "      Executed Commands: 1, Errors found: 0\r\n"
              "   2: Command Line Executed. Waiting for further messages.\r\n"
              "      Received SendMessage with CommandLine: \"/rset /i b.kvx /o out3.kvx /\"\r\n"
              "      Reset EqParser and all command variables and string\r\n"
              "      Executed Commands: 1, Errors found: 1\r\n"
              "   3: Command Line Executed. Waiting for further messages.\r\n"
              "Program End. Exit code: 0\r\n");
    // Each run's line is the stored one, as for ordinary runs.
    EXPECT_NE(ReadFileBytes(dir.file("config/tessara/Tessara.INI")).find("/rset /i b.kvx /o out3.kvx /"),
              std::string::npos);
}

TEST_F(Resident, LinesArriveInOrderAndNoneIsDropped) {
    StartResident({"/tsr", "/log", "/i", "a.kvx", "/o", "out.kvx"});
    // Launches at once, each with its own output.
    std::vector<Background> launchers;
    for (int k = 0; k < 4; ++k)
        launchers.push_back(StartTessara(dir, {"/i", "b.kvx", "/o", "par" + std::to_string(k) + ".kvx"},
                                         "launcher" + std::to_string(k)));
    for (Background& launcher : launchers) EXPECT_EQ(WaitForExit(launcher, kWaitMs), 0);
    // Launches in a row: each returns once its line is queued, while the
    // instance may still be running the one before. (The selection stays
    // the input source of the lines after it, so these come last.)
    for (const char* mark : {"''first'/", "''second'/", "''third'/"})
        ASSERT_EQ(RunTessara(dir, {std::string("/sel:") + mark, "/a", "seq.kvx"}).exitCode, 0);
    // /quit waits for the lines queued before it: their outputs are there
    // when it returns.
    EXPECT_EQ(RunTessara(dir, {"/quit"}).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_TRUE(Log().ends_with("   8: Command Line Executed. Waiting for further messages.\r\n"
                                "Program End. Exit code: 0\r\n"))
        << Log();
    EXPECT_EQ(ReadFileBytes(dir.file("seq.kvx")), "''first'''second'''third'\r\n");
    for (int k = 0; k < 4; ++k) {
        EXPECT_NE(ReadFileBytes(dir.file("par" + std::to_string(k) + ".kvx")).find("Number = 7.5000"),
                  std::string::npos);
    }
}

TEST_F(Resident, QuitWithAnInputFileRunsThatFileHere) {
    StartResident({"/tsr", "/i", "a.kvx", "/o", "out1.kvx"});
    const RunResult quit = RunTessara(dir, {"/quit", "/i", "b.kvx", "/o", "local.kvx"});
    EXPECT_EQ(quit.exitCode, 0);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    // This process never knew r.
    EXPECT_NE(ReadFileBytes(dir.file("local.kvx")).find("ERROR"), std::string::npos);
    EXPECT_FALSE(FileExists(Socket()));
    // With no instance left, /quit is an ordinary run without input.
    EXPECT_EQ(RunTessara(dir, {"/quit"}).exitCode, 251);
}

TEST_F(Resident, ReceivedHelpEndsTheInstanceAndScreensNeverWaitForInput) {
    StartResident({"/tsr", "/i", "a.kvx", "/o", "out1.kvx"});
    // The instance's standard input is a pipe that stays open: the flags
    // screen must not wait for an answer from it.
    ASSERT_EQ(RunTessara(dir, {"/sf", "/i", "b.kvx", "/o", "flags.kvx"}).exitCode, 0);
    ASSERT_TRUE(Written("flags.kvx"));
    EXPECT_NE(ReadFileBytes(resident.out).find("Flags and Variables:"), std::string::npos);

    // A launcher shows help itself; /rep then hands the stored "/h /" over.
    ASSERT_EQ(RunTessara(dir, {"/h"}).exitCode, 0);
    ASSERT_EQ(RunTessara(dir, {"/rep"}).exitCode, 0);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_NE(ReadFileBytes(resident.out).find("    es. 123002 means"), std::string::npos);
    EXPECT_FALSE(FileExists(Socket()));
}

TEST_F(Resident, PlotPathMadeEmptyStaysEmpty) {
    // /spl without a folder sends pictures to the clipboard only; the flags
    // screen shows the path as the run before left it.
    StartResident({"/tsr", "/log", "/spl", "/i", "a.kvx", "/o", "out1.kvx"});
    for (const char* output : {"out2.kvx", "out3.kvx"})
        ASSERT_EQ(RunTessara(dir, {"/sf", "/i", "a.kvx", "/o", output}).exitCode, 0);
    ASSERT_TRUE(LogHas("   3: Command Line Executed."));
    const std::string screens = ReadFileBytes(resident.out);
    const std::size_t first = screens.find("\r\nsplPath = \r\n");
    ASSERT_NE(first, std::string::npos) << screens;
    EXPECT_NE(screens.find("\r\nsplPath = \r\n", first + 1), std::string::npos) << screens;
}

TEST_F(Resident, ALauncherWithItsFlagsScreenHandsOverWithoutWaitingForAnAnswer) {
    StartResident({"/tsr", "/i", "a.kvx", "/o", "out1.kvx"});
    // Its standard input stays open, like an editor's: the flags screen,
    // written to a file, does not wait for a line from it.
    Background launcher = StartTessara(dir, {"/sf", "/i", "b.kvx", "/o", "late.kvx"}, "launcher");
    EXPECT_EQ(WaitForExit(launcher, kWaitMs), 0) << ReadFileBytes(launcher.err);
    EXPECT_TRUE(Written("late.kvx"));
}

TEST_F(Resident, EndSignalsRemoveTheMailbox) {
    for (const int signal : {SIGTERM, SIGINT}) {
        StartResident({"/tsr", "/log", "/i", "a.kvx"});
        kill(resident.pid, signal);
        EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
        EXPECT_FALSE(FileExists(Socket()));
        EXPECT_TRUE(Log().ends_with("      Terminate Stay Resident...\r\nProgram End. Exit code: 0\r\n")) << Log();
    }
}

TEST_F(Resident, StaleSocketIsNoInstance) {
    // A socket whose owner is gone refuses connections.
    fs::create_directories(Folder());
    fs::permissions(Folder(), fs::perms::owner_all, fs::perm_options::replace);
    const int stale = ListenAt(Socket(), 1);
    ASSERT_GE(stale, 0);
    close(stale);

    const RunResult ordinary = RunTessara(dir, {"/i", "a.kvx", "/o", "here.kvx"});
    EXPECT_EQ(ordinary.exitCode, 0);
    EXPECT_EQ(ordinary.err, "");
    EXPECT_TRUE(FileExists(dir.file("here.kvx")));

    // A new resident instance takes the name over.
    StartResident({"/tsr", "/log", "/i", "a.kvx"});
    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "out2.kvx"}).exitCode, 0);
    EXPECT_TRUE(Written("out2.kvx"));
    // A second would-be resident finds the first one and hands over instead.
    EXPECT_EQ(RunTessara(dir, {"/tsr", "/i", "b.kvx", "/o", "out3.kvx"}).exitCode, 0);
    EXPECT_TRUE(Written("out3.kvx"));
    EXPECT_EQ(RunTessara(dir, {"/quit"}).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
}

TEST_F(Resident, FolderOpenToOthersIsNotUsed) {
    fs::create_directories(Folder());
    fs::permissions(Folder(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
    const std::string refusal =
        "Tessara: the mailbox folder " + Folder() + " is open to other users (mode 0755); ";
    const RunResult ordinary = RunTessara(dir, {"/i", "a.kvx", "/o", "here.kvx"});
    EXPECT_EQ(ordinary.exitCode, 0);
    EXPECT_EQ(ordinary.err, refusal + "no resident instance is used\n");
    EXPECT_TRUE(FileExists(dir.file("here.kvx")));

    const RunResult notResident = RunTessara(dir, {"/tsr", "/log", "/i", "a.kvx"});
    EXPECT_EQ(notResident.exitCode, 245);
    EXPECT_NE(notResident.err.find(refusal + "the process does not stay resident\n"), std::string::npos)
        << notResident.err;
    EXPECT_TRUE(Log().ends_with("      Terminate Stay Resident...\r\nProgram End. Exit code: -11\r\n"));
    EXPECT_FALSE(FileExists(Socket()));
}

TEST_F(Resident, BadMessagesAreRefusedAndTheInstanceGoesOn) {
    StartResident({"/tsr", "/log", "/i", "a.kvx"});
    const std::string unknown = "TSR2 NO the message is not of a known format\n";
    EXPECT_EQ(ExchangeWithMailbox(Socket(), "TSR3 LINE 1\nx"), unknown);
    EXPECT_EQ(ExchangeWithMailbox(Socket(), "TSR2 JUMP 0\n"), unknown);
    EXPECT_EQ(ExchangeWithMailbox(Socket(), std::string(100, 'x')), unknown);
    EXPECT_EQ(ExchangeWithMailbox(Socket(), "TSR1 LINE 1\nx"), "TSR1 NO the resident instance speaks version 2 of the mailbox format\n");
    const std::size_t most = MaxHandOverBytes();
    EXPECT_EQ(ExchangeWithMailbox(Socket(), "TSR2 LINE " + std::to_string(most + 1) + "\n"),
              "TSR2 NO the command line is longer than " + std::to_string(most) + " bytes\n");
    EXPECT_EQ(ExchangeWithMailbox(Socket(), ""), ""); // a look for the instance only

    // A peer that sends nothing is dropped after a time-out.
    const int silent = ConnectMailbox(Socket());
    ASSERT_GE(silent, 0);
    const timeval limit{5, 0};
    setsockopt(silent, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    char byte = 0;
    EXPECT_EQ(recv(silent, &byte, 1, 0), 0);
    close(silent);

    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "out2.kvx"}).exitCode, 0);
    EXPECT_TRUE(Written("out2.kvx"));
    EXPECT_EQ(Log().find("Received SendMessage with CommandLine: \"x"), std::string::npos);
    EXPECT_EQ(ExchangeWithMailbox(Socket(), "TSR2 CLOSE 0\n"), "TSR2 OK\n");
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_FALSE(FileExists(Socket()));
}

TEST_F(Resident, AFullQueueRefusesLinesUntilItEmpties) {
    // The first run reads a named pipe and stays busy until it is written.
    ASSERT_EQ(mkfifo(dir.file("busy.txt").c_str(), 0600), 0);
    WriteFileBytes(dir.file("busy.kvx"), "exprf = busy.txt\r\n");
    StartResident({"/tsr", "/i", "a.kvx", "/o", "first.kvx"});
    ASSERT_EQ(RunTessara(dir, {"/i", "busy.kvx", "/o", "busy.out.kvx"}).exitCode, 0);
    const std::string line = "/rset /";
    const std::string request = "TSR2 LINE " + std::to_string(line.size()) + "\n" + line;
    int accepted = 0;
    std::string refused;
    for (int k = 0; k < 5000 && refused.empty(); ++k) {
        const std::string answer = ExchangeWithMailbox(Socket(), request);
        if (answer == "TSR2 READY\n") ++accepted;
        else refused = answer;
    }
    EXPECT_GE(accepted, 4095); // the line of busy.kvx may still wait too
    EXPECT_EQ(refused, "TSR2 NO too many command lines are waiting\n");
    const RunResult launcher = RunTessara(dir, {"/i", "b.kvx", "/o", "refused.kvx"});
    EXPECT_EQ(launcher.exitCode, 247);
    EXPECT_EQ(launcher.err,
              "Tessara: the resident instance did not take the command line: too many command lines are waiting\n");

    // Written only while the instance reads it, so that the test never hangs.
    int writer = -1;
    EXPECT_TRUE(WaitUntil([&] { return (writer = open(dir.file("busy.txt").c_str(), O_WRONLY | O_NONBLOCK)) >= 0; },
                          kWaitMs));
    if (writer >= 0) {
        EXPECT_EQ(write(writer, "1+1", 3), 3);
        close(writer);
    }
    RunOptions patient;
    patient.timeoutSeconds = 120;
    EXPECT_EQ(RunTessara(dir, {"/quit"}, patient).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_NE(ReadFileBytes(dir.file("busy.out.kvx")).find("Result => Number = 2.0000"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.file("refused.kvx")));
}

} // namespace
