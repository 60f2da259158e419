#include "platform/MailboxClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/MailboxFolder.h"
#include "platform/MailboxSocket.h"
#include "platform/Note.h"

namespace {

constexpr auto kAnswerTime = std::chrono::milliseconds(5000);
constexpr int kCloseWaitMs = 10000;

struct Connection {
    int fd = -1;
    bool none = true; // nobody answers: no socket, a stale one, or a refused folder
    int error = 0;
};

// The connection of the last look for the instance, kept for the request
// that follows it, so that a hand-over needs one connection only.
int heldFd = -1;

void NoteNoInstance(const std::string& why) {
    static bool noted = false;
    NoteOnce(noted, why + "; no resident instance is used");
}

Connection Connect() {
    Connection connection;
    std::string why;
    const FolderState folder = CheckMailboxFolder(false, why);
    if (folder == FolderState::Refused) NoteNoInstance(why);
    if (folder != FolderState::Usable) return connection;
    connection.fd = ConnectToMailbox(MailboxSocketPath());
    if (connection.fd < 0) {
        connection.error = errno;
        // A socket left by an instance that died refuses connections.
        connection.none = errno == ENOENT || errno == ECONNREFUSED;
        return connection;
    }
    if (!PeerIsSameUser(connection.fd)) {
        NoteNoInstance("the mailbox socket " + MailboxSocketPath() + " belongs to another user");
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

// The held connection, or a new one.
Connection TakeConnection() {
    Connection connection;
    if (heldFd < 0) return Connect();
    connection.fd = heldFd;
    connection.none = false;
    heldFd = -1;
    return connection;
}

// Sends the request on a connection (the held one when there is one) and
// reads the answer. The instance drops a connection that stayed silent too
// long (a launcher that showed a screen in between): the request then goes
// once more on a new connection, as the instance has not seen it.
HandOverResult Request(RequestKind kind, const std::string& payload, int& fd) {
    const bool held = heldFd >= 0;
    Connection connection = TakeConnection();
    HandOverResult result;
    for (int attempt = 0;; ++attempt) {
        if (connection.fd < 0) {
            result.status = connection.none ? HandOverResult::Gone : HandOverResult::Failed;
            result.error = connection.error;
            return result;
        }
        result = Exchange(connection.fd, kind, payload);
        const bool dropped = result.status == HandOverResult::Failed && (result.error == EPIPE || result.error == ECONNRESET);
        if (!held || attempt > 0 || !dropped) break;
        close(connection.fd);
        connection = Connect();
    }
    fd = connection.fd;
    return result;
}

} // namespace

bool FindResidentWindow() {
    if (heldFd >= 0) close(heldFd);
    const Connection connection = Connect();
    heldFd = connection.fd;
    return !connection.none;
}

HandOverResult HandOverCommandLine(const std::string& line) {
    int fd = -1;
    const HandOverResult result = Request(RequestKind::Line, line, fd);
    if (fd >= 0) close(fd);
    return result;
}

bool CloseResidentInstance() {
    int fd = -1;
    const HandOverResult answer = Request(RequestKind::Close, "", fd);
    if (answer.status == HandOverResult::Gone) return true;
    const bool ended = answer.status == HandOverResult::Accepted && WaitForEnd(fd);
    if (fd >= 0) close(fd);
    if (!ended) return false;
    const bool answers = FindResidentWindow();
    if (heldFd >= 0) close(heldFd);
    heldFd = -1;
    return !answers;
}
