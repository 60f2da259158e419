#include "platform/MailboxClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/MailboxFolder.h"
#include "platform/MailboxSocket.h"

namespace {

constexpr auto kAnswerTime = std::chrono::milliseconds(5000);
constexpr int kCloseWaitMs = 10000;

struct Connection {
    int fd = -1;
    bool none = true; // nobody answers: no socket, a stale one, or a refused folder
    int error = 0;
};

void NoteOnce(const std::string& why) {
    static bool noted = false;
    if (!noted) std::fprintf(stderr, "Tessara: %s; no resident instance is used\n", why.c_str());
    noted = true;
}

Connection Connect() {
    Connection connection;
    std::string why;
    const FolderState folder = CheckMailboxFolder(false, why);
    if (folder == FolderState::Refused) NoteOnce(why);
    if (folder != FolderState::Usable) return connection;
    connection.fd = ConnectToMailbox(MailboxSocketPath());
    if (connection.fd < 0) {
        connection.error = errno;
        // A socket left by an instance that died refuses connections.
        connection.none = errno == ENOENT || errno == ECONNREFUSED;
        return connection;
    }
    if (!PeerIsSameUser(connection.fd)) {
        NoteOnce("the mailbox socket " + MailboxSocketPath() + " belongs to another user");
        close(connection.fd);
        connection.fd = -1;
        return connection;
    }
    connection.none = false;
    return connection;
}

// Sends the request and reads the answer line.
HandOverResult Exchange(int fd, RequestKind kind, const std::string& payload) {
    HandOverResult result;
    std::string answer;
    bool accepted = false;
    const Deadline deadline = DeadlineIn(kAnswerTime);
    if (!SendAll(fd, EncodeRequest(kind, payload), deadline) ||
        !ReceiveUntil(fd, answer, kMaxAnswer, [](const std::string& got) { return got.find('\n') != std::string::npos; },
                      deadline)) {
        result.status = HandOverResult::Failed;
        result.error = errno;
        return result;
    }
    answer.resize(answer.find('\n') + 1);
    if (!ParseAnswer(answer, accepted, result.reason)) {
        result.status = HandOverResult::Failed;
        result.error = EPROTO;
        return result;
    }
    result.status = accepted ? HandOverResult::Accepted : HandOverResult::Refused;
    return result;
}

// Waits until the instance closes the connection, which it does by ending.
// Each byte it sends meanwhile reports a finished run and restarts the wait.
bool WaitForEnd(int fd) {
    char progress[64];
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, kCloseWaitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = recv(fd, progress, sizeof progress, 0);
        if (n == 0) return true;
        if (n < 0 && errno != EINTR) return errno == ECONNRESET;
    }
}

} // namespace

bool FindResidentWindow() {
    const Connection connection = Connect();
    if (connection.fd >= 0) close(connection.fd);
    return !connection.none;
}

HandOverResult HandOverCommandLine(const std::string& line) {
    const Connection connection = Connect();
    HandOverResult result;
    if (connection.fd < 0) {
        result.status = connection.none ? HandOverResult::Gone : HandOverResult::Failed;
        result.error = connection.error;
        return result;
    }
    result = Exchange(connection.fd, RequestKind::Line, line);
    close(connection.fd);
    return result;
}

bool CloseResidentInstance() {
    const Connection connection = Connect();
    if (connection.fd < 0) return connection.none;
    const HandOverResult answer = Exchange(connection.fd, RequestKind::Close, "");
    const bool ended = answer.status == HandOverResult::Accepted && WaitForEnd(connection.fd);
    close(connection.fd);
    return ended && !FindResidentWindow();
}
