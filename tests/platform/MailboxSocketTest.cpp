// The mailbox message format: what a resident instance accepts from a peer.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/MailboxSocket.h"

namespace {

struct HeaderCase {
    std::string received;
    HeaderStatus status;
    RequestKind kind = RequestKind::Line;
    std::size_t length = 0;
    std::size_t headerSize = 0;
};

TEST(MailboxMessage, RequestHeaders) {
    const std::string longest(kMaxRequestHeader, 'x');
    const std::string most = std::to_string(MaxHandOverBytes());
    const std::string over = std::to_string(MaxHandOverBytes() + 1);
    const HeaderCase cases[] = {
        {"", HeaderStatus::Incomplete},
        {"TSR", HeaderStatus::Incomplete},
        {"TSR2 LINE 12", HeaderStatus::Incomplete},
        {"TSR2 LINE 3\nabc", HeaderStatus::Complete, RequestKind::Line, 3, 12},
        {"TSR2 SYNC 3\nabc", HeaderStatus::Complete, RequestKind::SyncLine, 3, 12},
        {"TSR2 LINE 0\n", HeaderStatus::Complete, RequestKind::Line, 0, 12},
        {"TSR2 CLOSE 0\n", HeaderStatus::Complete, RequestKind::Close, 0, 13},
        {"TSR2 LINE " + most + "\n", HeaderStatus::Complete, RequestKind::Line, MaxHandOverBytes(), 11 + most.size()},
        {"TSR2 LINE " + over + "\n", HeaderStatus::TooLong},
        {"TSR2 LINE 999999999\n", HeaderStatus::TooLong},
        {"TSR2 LINE 9999999999\n", HeaderStatus::Malformed},
        {"TSR2 CLOSE 1\nx", HeaderStatus::Malformed},
        {"TSR1 LINE 1\nx", HeaderStatus::OldVersion},
        {"TSR3 LINE 1\nx", HeaderStatus::Malformed},
        {"GET / HTTP/1.0\r\n", HeaderStatus::Malformed},
        {"TSR2 LINE -1\n", HeaderStatus::Malformed},
        {"TSR2 LINE 1 2\n", HeaderStatus::Malformed},
        {"TSR2 LINE\n", HeaderStatus::Malformed},
        {"TSR2 line 1\nx", HeaderStatus::Malformed},
        {"TSR2 " + longest, HeaderStatus::Malformed},
    };
    for (const HeaderCase& c : cases) {
        RequestKind kind = RequestKind::Line;
        std::size_t length = 0;
        std::size_t headerSize = 0;
        EXPECT_EQ(ParseRequestHeader(c.received, kind, length, headerSize), c.status) << c.received;
        if (c.status != HeaderStatus::Complete) continue;
        EXPECT_EQ(kind, c.kind) << c.received;
        EXPECT_EQ(length, c.length) << c.received;
        EXPECT_EQ(headerSize, c.headerSize) << c.received;
    }
}

TEST(MailboxMessage, TheBoundIsTheSystemsArgumentLimit) {
    const long system = sysconf(_SC_ARG_MAX);
    EXPECT_GE(MaxHandOverBytes(), std::size_t{128} << 10);
    EXPECT_LE(MaxHandOverBytes(), std::size_t{64} << 20);
    if (system >= (128 << 10) && system <= (64 << 20)) {
        EXPECT_EQ(MaxHandOverBytes(), static_cast<std::size_t>(system));
    }
}

TEST(MailboxMessage, AnswersReadBackAndAReasonCannotBreakTheLine) {
    Answer answer;
    const std::string refusal = EncodeRefusal("busy\nTSR2 OK\n" + std::string(1000, 'x'));
    EXPECT_LT(refusal.size(), kMaxAnswer);
    ASSERT_TRUE(ParseAnswer(refusal, answer));
    EXPECT_EQ(answer.kind, AnswerKind::No);
    EXPECT_TRUE(answer.reason.starts_with("busy TSR2 OK ")) << answer.reason;

    const std::string report = EncodeRunReport(-3, "Tessara: Error 5\n");
    const std::size_t end = report.find('\n') + 1;
    ASSERT_TRUE(ParseAnswer(report.substr(0, end), answer));
    EXPECT_EQ(answer.kind, AnswerKind::Done);
    EXPECT_EQ(answer.exitCode, -3);
    EXPECT_EQ(report.substr(end, answer.reportLength), "Tessara: Error 5\n");
    for (const char* bad : {"TSR2 DONE 1\n", "TSR2 DONE x 1\n", "TSR2 DONE 1 2 3\n", "TSR2 MAYBE\n", "TSR1 OK\n"})
        EXPECT_FALSE(ParseAnswer(bad, answer)) << bad;
    EXPECT_TRUE(ParseAnswer(EncodeAnswer(AnswerKind::Ready), answer));
    EXPECT_EQ(answer.kind, AnswerKind::Ready);
    EXPECT_TRUE(EncodeOldVersionRefusal().starts_with("TSR1 NO "));
}

} // namespace
