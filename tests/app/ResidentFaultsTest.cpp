// Resident instances under faults, each replayed on real processes without a
// display: a stopped or busy instance, peers that hold the mailbox, a line
// that ends the instance behind queued ones, mailboxes that cannot be
// reached, a narrow umask, a flood of close requests under a low open-file
// limit, and launchers that wait for their run. Every process is ended by
// its pid.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "MailboxPeer.h"
#include "RunTessara.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWaitMs = 15000;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A process's status fields after its name: its state first ("T" when
// stopped), then the rest of /proc/<pid>/stat.
std::string StatusFields(int pid) {
    const std::string text = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 > text.size() ? std::string() : text.substr(close + 2);
}

// The processor time (user and system, in clock ticks) a process has used.
long ProcessorTicks(int pid) {
    std::istringstream fields(StatusFields(pid));
    std::string field;
    long user = 0, system = 0;
    for (int k = 3; k <= 15 && fields >> field; ++k) {
        if (k == 14) user = std::stol(field);
        if (k == 15) system = std::stol(field);
    }
    return user + system;
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 07777;
}

class ResidentFaults : public ::testing::Test {
protected:
    TempDir dir;
    Background resident;
    std::vector<int> peers;

    void SetUp() override {
        WriteFileBytes(dir.file("a.kvx"), "var = r; 2.5\r\n");
        WriteFileBytes(dir.file("b.kvx"), "expr = r*3\r\n");
        WriteFileBytes(dir.file("busy.kvx"), "exprf = busy.txt\r\n");
        ASSERT_EQ(mkfifo(dir.file("busy.txt").c_str(), 0600), 0);
    }

    void TearDown() override {
        for (const int fd : peers) close(fd);
        if (resident.pid > 0) {
            kill(resident.pid, SIGCONT);
            kill(resident.pid, SIGKILL);
        }
        WaitForExit(resident, kWaitMs);
    }

    std::string Folder() const { return dir.file("runtime/tessara"); }
    std::string Socket() const { return dir.file("runtime/tessara/tsr"); }

    void StartResident() {
        resident = StartTessara(dir, {"/tsr", "/i", "a.kvx", "/o", "first.kvx"}, "resident");
        ASSERT_TRUE(WaitUntil([&] { return FileExists(Socket()); }, kWaitMs)) << ReadFileBytes(resident.err);
    }

    // Hands the line that reads busy.txt over: the instance stays in that
    // run until Release.
    // The hand-over returns once the line is queued; the instance is busy
    // once its main thread waits in the open of the pipe for a writer.
    void MakeBusy() {
        ASSERT_EQ(RunTessara(dir, {"/i", "busy.kvx", "/o", "busy.out.kvx"}).exitCode, 0);
        const std::string wchan = "/proc/" + std::to_string(resident.pid) + "/wchan";
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(wchan).starts_with("wait_for_partner"); }, kWaitMs));
    }

    void Release() {
        int writer = -1;
        ASSERT_TRUE(WaitUntil([&] { return (writer = open(dir.file("busy.txt").c_str(), O_WRONLY | O_NONBLOCK)) >= 0; },
                              kWaitMs));
        EXPECT_EQ(write(writer, "1+1", 3), 3);
        close(writer);
    }

    // Stops the instance and waits until every thread of it has stopped.
    void Stop() {
        kill(resident.pid, SIGSTOP);
        ASSERT_TRUE(WaitUntil([&] { return StatusFields(resident.pid).starts_with('T'); }, kWaitMs));
    }

    // Ends the instance through /quit, which waits for the lines before it.
    void Quit() {
        RunOptions patient;
        patient.timeoutSeconds = 60;
        EXPECT_EQ(RunTessara(dir, {"/quit"}, patient).exitCode, 250);
        EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    }

    bool Written(const std::string& name) const {
        return WaitUntil([&] { return FileExists(dir.file(name)); }, kWaitMs);
    }
};

TEST_F(ResidentFaults, ALauncherThatGaveUpNeverHasItsLineRun) {
    StartResident();
    Stop();
    const RunResult late = RunTessara(dir, {"/i", "b.kvx", "/o", "late.kvx"});
    EXPECT_EQ(late.exitCode, 110) << late.err;
    EXPECT_NE(late.err.find("(it does not run): the resident instance did not answer in time"), std::string::npos)
        << late.err;
    kill(resident.pid, SIGCONT);
    // A retry runs the line once.
    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "retry.kvx"}).exitCode, 0);
    Quit();
    EXPECT_TRUE(FileExists(dir.file("retry.kvx")));
    EXPECT_FALSE(FileExists(dir.file("late.kvx")));
}

TEST_F(ResidentFaults, PeersThatHoldConnectionsDoNotHoldUpALauncher) {
    struct Case {
        const char* what;
        int count;
        std::string sends; // what each peer sends before it stalls
    };
    const Case cases[] = {
        {"slow senders", 3, "TSR2 LI"},
        {"idle connections", 200, ""},
        {"a line never committed", 3, "TSR2 LINE 7\n/rset /"},
    };
    StartResident();
    int round = 0;
    for (const Case& c : cases) {
        for (int k = 0; k < c.count; ++k) {
            const int fd = ConnectMailbox(Socket());
            ASSERT_GE(fd, 0) << c.what;
            if (!c.sends.empty()) send(fd, c.sends.data(), c.sends.size(), MSG_NOSIGNAL);
            peers.push_back(fd);
        }
        const std::string output = "held" + std::to_string(++round) + ".kvx";
        const auto start = Clock::now();
        EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", output}).exitCode, 0) << c.what;
        EXPECT_LT(MillisecondsSince(start), 1500) << c.what;
        EXPECT_TRUE(Written(output)) << c.what;
    }
    // The lines never committed were given up: a late commit fails, and
    // they never ran (the library still knows r).
    for (std::size_t k = peers.size() - 3; k < peers.size(); ++k) {
        const timeval limit{5, 0};
        setsockopt(peers[k], SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        std::string got;
        char chunk[64];
        ssize_t n = 0;
        while ((n = recv(peers[k], chunk, sizeof chunk, 0)) > 0) got.append(chunk, static_cast<std::size_t>(n));
        EXPECT_EQ(got, "TSR2 READY\n");
        EXPECT_EQ(n, 0);
        EXPECT_EQ(send(peers[k], "Y", 1, MSG_NOSIGNAL), -1);
    }
    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "final.kvx"}).exitCode, 0);
    Quit();
    EXPECT_NE(ReadFileBytes(dir.file("final.kvx")).find("Number = 7.5000"), std::string::npos);
}

TEST_F(ResidentFaults, ALineThatEndsTheInstanceRunsAfterTheLinesBeforeItAndRefusesTheRest) {
    StartResident();
    MakeBusy();
    for (const char* output : {"q1.kvx", "q2.kvx"}) ASSERT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", output}).exitCode, 0);
    ASSERT_EQ(RunTessara(dir, {"/h"}).exitCode, 0);
    ASSERT_EQ(RunTessara(dir, {"/rep"}).exitCode, 0); // hands "/h /" over
    const RunResult after = RunTessara(dir, {"/i", "b.kvx", "/o", "after.kvx"});
    EXPECT_EQ(after.exitCode, 247);
    EXPECT_EQ(after.err, "Tessara: the resident instance did not take the command line: the resident instance is ending\n");
    Release();
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_TRUE(FileExists(dir.file("q1.kvx")));
    EXPECT_TRUE(FileExists(dir.file("q2.kvx")));
    EXPECT_FALSE(FileExists(dir.file("after.kvx")));
}

TEST_F(ResidentFaults, AMailboxThatCannotBeReachedIsNoInstance) {
    // A runtime folder so deep that the socket's name would not fit.
    RunOptions deep;
    deep.env["XDG_RUNTIME_DIR"] = dir.file(std::string(100, 'r'));
    fs::create_directories(deep.env["XDG_RUNTIME_DIR"]);
    const RunResult deepRun = RunTessara(dir, {"/i", "a.kvx", "/o", "deep.kvx"}, deep);
    EXPECT_EQ(deepRun.exitCode, 0) << deepRun.err;
    EXPECT_TRUE(FileExists(dir.file("deep.kvx")));

    // A socket whose queue of connections is full, held by the test itself.
    fs::create_directories(Folder());
    fs::permissions(Folder(), fs::perms::owner_all, fs::perm_options::replace);
    const int listener = ListenAt(Socket(), 0);
    ASSERT_GE(listener, 0);
    peers.push_back(listener);
    for (int k = 0; k < 4; ++k) peers.push_back(ConnectMailbox(Socket(), true));
    const RunResult full = RunTessara(dir, {"/i", "a.kvx", "/o", "full.kvx"});
    EXPECT_EQ(full.exitCode, 0);
    EXPECT_EQ(full.err, "Tessara: the mailbox socket " + Socket() + " cannot be reached (" + std::strerror(EAGAIN) +
                            "); no resident instance is used\n");
    EXPECT_TRUE(FileExists(dir.file("full.kvx")));
}

TEST_F(ResidentFaults, AnInstanceStartedUnderANarrowUmaskTakesLines) {
    const mode_t before = umask(0277);
    StartResident();
    umask(before);
    EXPECT_EQ(ModeOf(Folder()), 0700u);
    EXPECT_EQ(ModeOf(Folder() + "/tsr.lock"), 0600u);
    EXPECT_EQ(ModeOf(Socket()), 0600u);
    EXPECT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", "handed.kvx"}).exitCode, 0);
    Quit();
    EXPECT_NE(ReadFileBytes(dir.file("handed.kvx")).find("Number = 7.5000"), std::string::npos);
}

TEST_F(ResidentFaults, QuitSaysWhyTheInstanceDidNotEnd) {
    struct Case {
        const char* what;
        std::string says;
    };
    // The busy instance takes the request and ends after its run; the
    // stopped one answers nothing and ends once it is continued.
    for (const Case& c : {Case{"busy", "still busy"}, Case{"stopped", "is stopped"}}) {
        StartResident();
        const bool busy = std::string(c.what) == "busy";
        if (busy) MakeBusy();
        else Stop();
        const RunResult quit = RunTessara(dir, {"/quit"});
        EXPECT_EQ(quit.exitCode, 246) << c.what;
        EXPECT_NE(quit.err.find(c.says), std::string::npos) << c.what << ": " << quit.err;
        if (busy) Release();
        else kill(resident.pid, SIGCONT);
        EXPECT_EQ(WaitForExit(resident, kWaitMs), 0) << c.what;
        resident = {};
    }
}

TEST_F(ResidentFaults, AFloodOfCloseRequestsUnderALowFileLimitNeitherSpinsNorStallsLaunchers) {
    StartResident();
    MakeBusy();
    const rlimit low{32, 32};
    ASSERT_EQ(prlimit(resident.pid, RLIMIT_NOFILE, &low, nullptr), 0);
    const std::string close = "TSR2 CLOSE 0\n";
    for (int k = 0; k < 100; ++k) {
        const int fd = ConnectMailbox(Socket());
        ASSERT_GE(fd, 0);
        send(fd, close.data(), close.size(), MSG_NOSIGNAL);
        peers.push_back(fd);
    }
    const auto start = Clock::now();
    const RunResult launcher = RunTessara(dir, {"/i", "b.kvx", "/o", "refused.kvx"});
    EXPECT_EQ(launcher.exitCode, 247) << launcher.err;
    EXPECT_LT(MillisecondsSince(start), 3000);
    // Processor time over a second of the flood: an instance that spins
    // on accept uses most of it (about 100 ticks); one that waits, a few,
    // even on a loaded machine.
    const long ticksBefore = ProcessorTicks(resident.pid);
    poll(nullptr, 0, 1000);
    EXPECT_LT(ProcessorTicks(resident.pid) - ticksBefore, 30);
    Release();
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    EXPECT_NE(ReadFileBytes(dir.file("busy.out.kvx")).find("Number = 2.0000"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.file("refused.kvx")));
}

TEST_F(ResidentFaults, ALauncherWithSyncWaitsForItsRunAndEndsWithItsCode) {
    // Words of 100 KB each make a command line far over 64 KiB.
    const std::string longWord = "/zz" + std::string(100000, 'z');
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string says;
        const char* output;
    };
    const Case cases[] = {
        {{"/sync", "/i", "b.kvx", "/o", "synced.kvx"}, 0, "Tessara: Executed Commands: 1, Errors found: 0\n", "synced.kvx"},
        {{"/sync", "/i", "b.kvx", "/o", "b.kvx/out.kvx"}, 253, "can't write the file", nullptr},
        {{"/sync", longWord, longWord, "/i", "b.kvx", "/o", "long.kvx"}, 0, "Errors found: 0", "long.kvx"},
    };
    StartResident();
    for (const Case& c : cases) {
        const RunResult run = RunTessara(dir, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        // The output is there when the launcher returns.
        if (c.output != nullptr) {
            EXPECT_NE(ReadFileBytes(dir.file(c.output)).find("Number = 7.5000"), std::string::npos);
        }
    }
    Quit();
}

TEST_F(ResidentFaults, AHandOverNeedsNoLibraryAndALocalRunStillReportsItsLack) {
    // A copy of the program with no numeric library beside it.
    fs::create_directories(dir.file("bare"));
    fs::copy_file(TessaraBinary(), dir.file("bare/tessara"));
    RunOptions bare;
    bare.program = dir.file("bare/tessara");
    StartResident();
    EXPECT_EQ(RunTessara(dir, {"/sync", "/i", "b.kvx", "/o", "bare.kvx"}, bare).exitCode, 0);
    EXPECT_NE(ReadFileBytes(dir.file("bare.kvx")).find("Number = 7.5000"), std::string::npos);
    Quit();
    const RunResult local = RunTessara(dir, {"/i", "b.kvx", "/o", "local.kvx"}, bare);
    EXPECT_EQ(local.exitCode, 1);
    EXPECT_NE(local.err.find("Installation failed!"), std::string::npos) << local.err;
    EXPECT_FALSE(FileExists(dir.file("local.kvx")));
}

} // namespace
