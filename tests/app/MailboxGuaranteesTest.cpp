// What the resident mailbox guarantees, through the real binary in private
// runtime folders: lines queued behind a busy instance run in order of
// arrival, another user's connection runs nothing, an ending instance leaves
// a socket that is no longer its own alone, and the hand-over bound holds at
// exactly its value.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "AuxFunct/StatusCodes.h"
#include "MailboxPeer.h"
#include "RunTessara.h"
#include "platform/MailboxSocket.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 10000;

std::string LineRequest(const std::string& line) { return "TSR2 LINE " + std::to_string(line.size()) + "\n" + line; }

class Mailbox : public ::testing::Test {
protected:
    TempDir dir;
    Background resident;

    void SetUp() override { WriteFileBytes(dir.file("b.kvx"), "expr = 2*3\r\n"); }

    void TearDown() override {
        if (resident.pid > 0) kill(resident.pid, SIGKILL);
        WaitForExit(resident, kWaitMs);
    }

    std::string Socket() const { return dir.file("runtime/tessara/tsr"); }
    std::string Log() const { return ReadFileBytes(dir.file("Tessara.log")); }

    // Starts the resident instance and waits until its first run is done
    // and its mailbox accepts connections.
    void StartResident() {
        resident = StartTessara(dir, {"/tsr", "/log", "/i", "b.kvx", "/o", "first.kvx"}, "resident");
        ASSERT_TRUE(WaitUntil([&] {
            const int fd = ConnectMailbox(Socket());
            if (fd >= 0) close(fd);
            return fd >= 0;
        }, kWaitMs)) << ReadFileBytes(resident.err);
        ASSERT_TRUE(FileExists(dir.file("first.kvx")));
    }

    // Asks the instance to end and waits until it has (the answer may go on
    // with a byte for each run the instance finishes meanwhile).
    void Quit() {
        EXPECT_TRUE(ExchangeWithMailbox(Socket(), "TSR2 CLOSE 0\n").starts_with("TSR2 OK\n"));
        EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    }

    // The command lines the instance received, in the order it ran them.
    std::vector<std::string> ReceivedLines() const {
        const std::string log = Log();
        const std::string mark = "Received SendMessage with CommandLine: \"";
        std::vector<std::string> lines;
        for (std::size_t at = log.find(mark); at != std::string::npos; at = log.find(mark, at + 1)) {
            const std::size_t start = at + mark.size();
            lines.push_back(log.substr(start, log.find("\"\r\n", start) - start));
        }
        return lines;
    }
};

TEST_F(Mailbox, LinesQueuedBehindABusyInstanceRunInOrderOfArrival) {
    // The first line reads a named pipe and keeps the instance busy until
    // the pipe is written, while the next ones wait in the queue.
    ASSERT_EQ(mkfifo(dir.file("busy.txt").c_str(), 0600), 0);
    WriteFileBytes(dir.file("busy.kvx"), "exprf = busy.txt\r\n");
    StartResident();
    std::vector<std::string> expected = {"/i busy.kvx /o busy.out.kvx /"};
    ASSERT_EQ(RunTessara(dir, {"/i", "busy.kvx", "/o", "busy.out.kvx"}).exitCode, 0);
    for (int k = 1; k <= 5; ++k) {
        const std::string output = "q" + std::to_string(k) + ".kvx";
        ASSERT_EQ(RunTessara(dir, {"/i", "b.kvx", "/o", output}).exitCode, 0);
        expected.push_back("/i b.kvx /o " + output + " /");
    }
    int writer = -1;
    ASSERT_TRUE(WaitUntil([&] { return (writer = open(dir.file("busy.txt").c_str(), O_WRONLY | O_NONBLOCK)) >= 0; },
                          kWaitMs));
    EXPECT_EQ(write(writer, "1+1", 3), 3);
    close(writer);
    Quit();
    EXPECT_EQ(ReceivedLines(), expected);
}

TEST_F(Mailbox, AConnectionOfAnotherUserRunsNothing) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to connect as another user";
    StartResident();
    // Folders and socket opened to everyone, so that only the instance's own
    // check of the peer stands between the other user and a run.
    for (const std::string& folder : {dir.path(), dir.file("runtime"), dir.file("runtime/tessara")})
        chmod(folder.c_str(), 0711);
    chmod(Socket().c_str(), 0777);
    const pid_t child = fork();
    if (child == 0) {
        // Another user who keeps the instance's group: the instance must tell
        // them apart by the user alone.
        if (setresuid(65534, 65534, 65534) != 0) _exit(3);
        const std::string answer = ExchangeWithMailbox(Socket(), LineRequest("/i b.kvx /o other.kvx /"));
        _exit(answer == "<no connection>" ? 2 : answer.empty() ? 0 : 1);
    }
    ASSERT_GT(child, 0);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << "0: no answer, 1: an answer, 2: no connection";

    EXPECT_EQ(ExchangeWithMailbox(Socket(), LineRequest("/i b.kvx /o own.kvx /")), "TSR2 READY\n");
    Quit();
    EXPECT_EQ(ReceivedLines(), std::vector<std::string>{"/i b.kvx /o own.kvx /"});
    EXPECT_FALSE(FileExists(dir.file("other.kvx")));
}

TEST_F(Mailbox, AnEndingInstanceLeavesASocketThatIsNoLongerItsOwn) {
    StartResident();
    // Someone removes the socket and binds one of their own at its name.
    ASSERT_EQ(unlink(Socket().c_str()), 0);
    const int other = ListenAt(Socket(), 4);
    ASSERT_GE(other, 0);
    struct stat before {};
    ASSERT_EQ(stat(Socket().c_str(), &before), 0);

    kill(resident.pid, SIGTERM);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);
    struct stat after {};
    EXPECT_EQ(stat(Socket().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    const int fd = ConnectMailbox(Socket());
    EXPECT_GE(fd, 0);
    if (fd >= 0) close(fd);
    close(other);
}

// A command line of exactly the bound is handed over, one byte more is not:
// by the launcher (a stored line repeated with /rep, which no argument limit
// holds back) and by the instance itself. The longer line comes first, while
// no run of the instance can store a line of its own over the stored one.
TEST_F(Mailbox, TheHandOverBoundHoldsAtExactlyItsValue) {
    StartResident();
    const std::size_t bound = MaxHandOverBytes();
    const std::string answerTooLong = "TSR2 NO the command line is longer than " + std::to_string(MaxHandOverBytes()) + " bytes\n";
    for (const std::size_t size : {bound + 1, bound}) {
        const bool within = size <= bound;
        SCOPED_TRACE(size);
        // "/i b.kvx /o NAME /zz...z /": the unknown option fills the line up.
        const auto line = [size](const std::string& output) {
            const std::string head = "/i b.kvx /o " + output + " /zz";
            return head + std::string(size - head.size() - 2, 'z') + " /";
        };
        const std::string stored = line("rep" + std::to_string(size) + ".kvx");
        ASSERT_EQ(stored.size(), size);
        fs::create_directories(dir.file("config/tessara"));
        WriteFileBytes(dir.file("config/tessara/Tessara.INI"), "[Tessara]\nlastCmdLn=" + stored + "\n");
        const RunResult repeated = RunTessara(dir, {"/rep"});
        EXPECT_EQ(repeated.exitCode, within ? 0 : kHandOverRefused & 0xff) << repeated.err;
        // The launcher keeps a longer line to itself instead of sending it.
        EXPECT_EQ(repeated.err.find("not handed to the resident instance") != std::string::npos, !within)
            << repeated.err;

        const std::string raw = line("raw" + std::to_string(size) + ".kvx");
        EXPECT_EQ(ExchangeWithMailbox(Socket(), LineRequest(raw)), within ? "TSR2 READY\n" : answerTooLong);
    }
    Quit();
    EXPECT_TRUE(FileExists(dir.file("rep" + std::to_string(bound) + ".kvx")));
    EXPECT_TRUE(FileExists(dir.file("raw" + std::to_string(bound) + ".kvx")));
    EXPECT_EQ(ReceivedLines().size(), 2u);
}

} // namespace
