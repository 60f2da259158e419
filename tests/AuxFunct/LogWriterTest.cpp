#include "AuxFunct/LogWriter.h"

#include "platform/MessageWindow.h"

#include "RunTessara.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class LogWriterFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string logName = dir.file("Tessara.log");
    LogState log;
};

TEST_F(LogWriterFile, NothingIsLoggedBeforeTheFirstEnablingCall) {
    EXPECT_EQ(WriteLogLine(log, "early", 0, logName, 0, 0), 0);
    EXPECT_FALSE(FileExists(logName));
    EXPECT_TRUE(log.logFile.empty());
    EXPECT_EQ(WriteLogLine(log, "on", 1, logName, 0, 0), 1);
    EXPECT_EQ(WriteLogLine(log, "still on", 0, "", 0, 0), 1);
    EXPECT_EQ(ReadFileBytes(logName), "on\r\nstill on\r\n");
}

TEST_F(LogWriterFile, FirstWriteTruncatesLaterWritesAppendCrLfOnlyWhenMissing) {
    WriteFileBytes(logName, "from an earlier process\r\n");
    WriteLogLine(log, "'Program: Tessara.exe\r\n'Version: 0.0.0.0\r\n", 1, logName, 0, 0);
    WriteLogLine(log, "BatchRun      : Time 01/02/2026 - 03:04:05\r\n", 0, "", 0, 0);
    WriteLogLine(log, "line without end", 0, "", 0, 0);
    WriteLogLine(log, "", 0, "", 0, 0);
    WriteLogLine(log, "ends with LF only\n", 0, "", 0, 0);
    EXPECT_EQ(ReadFileBytes(logName),
              "'Program: Tessara.exe\r\n'Version: 0.0.0.0\r\n"
              "BatchRun      : Time 01/02/2026 - 03:04:05\r\n"
              "line without end\r\n\r\nends with LF only\n\r\n");
}

TEST_F(LogWriterFile, FirstNonEmptyFileNameWins) {
    const std::string other = dir.file("other.log");
    WriteLogLine(log, "a", 1, "", 0, 0);  // no file yet: the window branch
    WriteLogLine(log, "b", 0, logName, 0, 0);
    WriteLogLine(log, "c", 1, other, 0, 0);
    EXPECT_EQ(log.logFile, logName);
    EXPECT_EQ(ReadFileBytes(logName), "b\r\nc\r\n");
    EXPECT_FALSE(FileExists(other));
}

TEST_F(LogWriterFile, FileThatCannotBeOpenedLosesTextAndIsTruncatedOnceItCan) {
    const std::string folder = dir.file("logs");
    const std::string name = folder + "/run.log";
    EXPECT_EQ(WriteLogLine(log, "lost", 1, name, 0, 0), 1);
    EXPECT_EQ(log.logCreated, 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    WriteFileBytes(name, "stale\r\n");
    WriteLogLine(log, "first", 0, "", 0, 0);
    WriteLogLine(log, "second", 0, "", 0, 0);
    EXPECT_EQ(log.logCreated, 1);
    EXPECT_EQ(ReadFileBytes(name), "first\r\nsecond\r\n");
}

TEST_F(LogWriterFile, ResetForgetsSwitchAndFileAndTruncatesOnNextUse) {
    WriteLogLine(log, "one", 1, logName, 0, 0);
    EXPECT_EQ(WriteLogLine(log, "ignored", 1, logName, 0, 1), 0);
    EXPECT_EQ(log.logOn, 0);
    EXPECT_EQ(log.logCreated, 0);
    EXPECT_TRUE(log.logFile.empty());
    EXPECT_EQ(WriteLogLine(log, "off", 0, logName, 0, 0), 0);
    EXPECT_EQ(ReadFileBytes(logName), "one\r\n");
    WriteLogLine(log, "two", 1, logName, 0, 0);
    EXPECT_EQ(ReadFileBytes(logName), "two\r\n");
}

TEST(LogWriterWindow, WithoutDisplayReturnsOneAndOnlyNotesIt) {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    LogState log;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(WriteLogLine(log, "opens the window", 1, "", 0, 0), 1);
    EXPECT_EQ(WriteLogLine(log, "tries again", 0, "", -1, 0), 1);
    // The only trace is one note on standard error (none when an earlier test
    // of this process gave it already), never the texts.
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(err.empty() || err == "Tessara: no display; the message window \"Tessara Log\" is not shown\n")
        << err;
    EXPECT_FALSE(MessageWindowOpen());
    EXPECT_EQ(MessageWindowText(), "");
    EXPECT_EQ(log.logLineNo, 0);
    EXPECT_TRUE(log.logFile.empty());
}

} // namespace
