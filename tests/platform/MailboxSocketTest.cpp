// The mailbox message format: what a resident instance accepts from a peer.
#include <gtest/gtest.h>

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
    const HeaderCase cases[] = {
        {"", HeaderStatus::Incomplete},
        {"TSR", HeaderStatus::Incomplete},
        {"TSR1 LINE 12", HeaderStatus::Incomplete},
        {"TSR1 LINE 3\nabc", HeaderStatus::Complete, RequestKind::Line, 3, 12},
        {"TSR1 LINE 0\n", HeaderStatus::Complete, RequestKind::Line, 0, 12},
        {"TSR1 CLOSE 0\n", HeaderStatus::Complete, RequestKind::Close, 0, 13},
        {"TSR1 LINE 65536\n", HeaderStatus::Complete, RequestKind::Line, 65536, 16},
        {"TSR1 LINE 65537\n", HeaderStatus::TooLong},
        {"TSR1 LINE 999999999\n", HeaderStatus::TooLong},
        {"TSR1 LINE 9999999999\n", HeaderStatus::Malformed},
        {"TSR1 CLOSE 1\nx", HeaderStatus::Malformed},
        {"TSR2 LINE 1\nx", HeaderStatus::Malformed},
        {"GET / HTTP/1.0\r\n", HeaderStatus::Malformed},
        {"TSR1 LINE -1\n", HeaderStatus::Malformed},
        {"TSR1 LINE\n", HeaderStatus::Malformed},
        {"TSR1 line 1\nx", HeaderStatus::Malformed},
        {"TSR1 " + longest, HeaderStatus::Malformed},
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

TEST(MailboxMessage, AReasonCannotBreakTheAnswerLine) {
    bool accepted = true;
    std::string reason;
    const std::string answer = EncodeAnswer(false, "busy\nTSR1 OK\n" + std::string(1000, 'x'));
    EXPECT_LT(answer.size(), kMaxAnswer);
    ASSERT_TRUE(ParseAnswer(answer, accepted, reason));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(reason.starts_with("busy TSR1 OK ")) << reason;
}

} // namespace
