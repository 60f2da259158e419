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

TEST(MailboxMessage, EncodedRequestsAndAnswersReadBack) {
    RequestKind kind = RequestKind::Close;
    std::size_t length = 0;
    std::size_t headerSize = 0;
    const std::string request = EncodeRequest(RequestKind::Line, "/i a.kvx /");
    ASSERT_EQ(ParseRequestHeader(request, kind, length, headerSize), HeaderStatus::Complete);
    EXPECT_EQ(kind, RequestKind::Line);
    EXPECT_EQ(request.substr(headerSize, length), "/i a.kvx /");

    bool accepted = false;
    std::string reason;
    ASSERT_TRUE(ParseAnswer(EncodeAnswer(true, ""), accepted, reason));
    EXPECT_TRUE(accepted);
    // A reason cannot break the answer line, however long it is.
    ASSERT_TRUE(ParseAnswer(EncodeAnswer(false, "busy\nTSR1 OK\n" + std::string(1000, 'x')), accepted, reason));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(reason.starts_with("busy TSR1 OK ")) << reason;
    EXPECT_LT(EncodeAnswer(false, std::string(1000, 'x')).size(), kMaxAnswer);
    EXPECT_FALSE(ParseAnswer("TSR1 MAYBE\n", accepted, reason));
    EXPECT_FALSE(ParseAnswer("TSR1 OK", accepted, reason));
}

} // namespace
