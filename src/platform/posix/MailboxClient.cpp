#include "platform/MailboxClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/MailboxFolder.h"
#include "platform/MailboxSocket.h"
#include "platform/Note.h"

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAnswerTime{5000}; // longer than the instance waits for a request and its commit
constexpr milliseconds kSilenceTime{4000}; // an instance that sends no sign of life for this long is taken as stopped
constexpr milliseconds kCloseRunTime{10000}; // a close request waits this long for each run before it

struct Connection {
    int fd = -1;
    bool none = true; // nobody answers: no socket, a stale one, or a mailbox that cannot be reached
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
        // No socket, or one left by an instance that died, is no instance
        // without a word; any other failure is none too, with the reason.
        if (errno != ENOENT && errno != ECONNREFUSED)
            NoteNoInstance("the mailbox socket " + MailboxSocketPath() + " cannot be reached (" + std::strerror(errno) + ")");
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

bool HasLine(const std::string& got) { return got.find('\n') != std::string::npos; }

bool IsSignOfLife(char c) { return c == kAliveByte || c == kRunDoneByte; }

// Reads the next answer line into answer; the signs of life before it are
// skipped, and with aliveRenews each of them renews the wait. False with
// errno set when none comes by deadline.
bool ReceiveAnswer(int fd, std::string& buffer, Answer& answer, Deadline deadline, bool aliveRenews) {
    const auto lineOrLife = [](const std::string& got) { return HasLine(got) || (!got.empty() && IsSignOfLife(got[0])); };
    for (;;) {
        std::size_t life = 0;
        while (life < buffer.size() && IsSignOfLife(buffer[life])) ++life;
        if (life > 0) {
            buffer.erase(0, life);
            if (aliveRenews) deadline = DeadlineIn(kSilenceTime);
        }
        if (HasLine(buffer)) break;
        if (!ReceiveUntil(fd, buffer, kMaxAnswer, lineOrLife, deadline)) return false;
    }
    const std::size_t end = buffer.find('\n') + 1;
    const bool known = ParseAnswer(std::string_view(buffer).substr(0, end), answer);
    buffer.erase(0, end);
    if (!known) errno = EPROTO;
    return known;
}

HandOverResult Failure(int error, std::string reason) {
    HandOverResult result;
    result.status = HandOverResult::Failed;
    result.error = error != 0 ? error : EIO;
    result.reason = std::move(reason);
    return result;
}

// After the commit of a SYNC line: the signs of life, then the report. The
// line is the instance's whatever happens here; only its report can fail.
void AwaitReport(int fd, HandOverResult& result) {
    std::string buffer;
    Answer answer;
    if (ReceiveAnswer(fd, buffer, answer, DeadlineIn(kSilenceTime), true) && answer.kind == AnswerKind::Done) {
        const std::size_t length = answer.reportLength;
        if (buffer.size() >= length ||
            ReceiveUntil(fd, buffer, length, [&](const std::string& got) { return got.size() >= length; },
                         DeadlineIn(kSilenceTime))) {
            result.reported = true;
            result.exitCode = answer.exitCode;
            result.notes = buffer.substr(0, length);
            return;
        }
    }
    result.error = errno == ETIMEDOUT ? ETIMEDOUT : ECONNRESET;
    result.reason = errno == ETIMEDOUT ? "the resident instance stopped answering before the run of the line ended"
                                       : "the resident instance ended before the run of the line did";
}

// Sends the request and reads the answer. A line is committed once the
// instance is ready for it; a close request is answered at once.
HandOverResult Exchange(int fd, RequestKind kind, const std::string& payload) {
    const Deadline deadline = DeadlineIn(kAnswerTime);
    std::string buffer;
    Answer answer;
    const bool sent = SendAll(fd, EncodeRequest(kind, payload), deadline);
    const int sendError = errno;
    // An instance that refuses a connection at once may close it before the
    // request is sent: its refusal is still there to read.
    if (!ReceiveAnswer(fd, buffer, answer, sent ? deadline : DeadlineIn(milliseconds(0)), false)) {
        const int error = sent ? errno : sendError;
        return Failure(error, error == ETIMEDOUT ? "the resident instance did not answer in time"
                                                 : std::string("the connection failed (") + std::strerror(error) + ")");
    }
    HandOverResult result;
    if (answer.kind == AnswerKind::No) {
        result.status = HandOverResult::Refused;
        result.reason = answer.reason;
        return result;
    }
    const bool expected = kind == RequestKind::Close ? answer.kind == AnswerKind::Ok : answer.kind == AnswerKind::Ready;
    if (!expected) return Failure(EPROTO, "the resident instance gave an answer out of turn");
    if (kind != RequestKind::Close) {
        // The commit: once this byte is delivered the line is the
        // instance's; an instance that gave up on it has shut its reading
        // side, and the send fails.
        const char commit = kCommitByte;
        if (send(fd, &commit, 1, MSG_NOSIGNAL | MSG_DONTWAIT) != 1) {
            const int error = errno == EAGAIN ? ETIMEDOUT : errno;
            return Failure(error, "the resident instance gave up waiting for the command line");
        }
    }
    result.status = HandOverResult::Accepted;
    return result;
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
            result = Failure(connection.error, "");
            if (connection.none) result.status = HandOverResult::Gone;
            return result;
        }
        result = Exchange(connection.fd, kind, payload);
        const bool dropped = result.status == HandOverResult::Failed && result.reason.starts_with("the connection") &&
                             (result.error == EPIPE || result.error == ECONNRESET);
        if (!held || attempt > 0 || !dropped) break;
        close(connection.fd);
        connection = Connect();
    }
    fd = connection.fd;
    return result;
}

// Waits until the instance closes the connection, which it does by ending.
// Signs of life keep the wait going for kCloseRunTime after the request and
// after each run the instance finishes.
CloseOutcome WaitForEnd(int fd, std::string& why) {
    Deadline runEnd = DeadlineIn(kCloseRunTime);
    for (;;) {
        const Deadline silence = DeadlineIn(kSilenceTime);
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, MillisecondsLeft(std::min(runEnd, silence)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            if (runEnd <= silence) {
                why = "the resident instance is still busy with the command lines queued before the close request; it "
                      "ends once they have run";
                return CloseOutcome::Busy;
            }
            why = PeerIsStopped(fd) ? "the resident instance is stopped; it ends once it is continued"
                                    : "the resident instance stopped answering";
            return PeerIsStopped(fd) ? CloseOutcome::Stopped : CloseOutcome::NotAnswering;
        }
        char progress[64];
        const ssize_t n = recv(fd, progress, sizeof progress, 0);
        if (n == 0 || (n < 0 && errno == ECONNRESET)) return CloseOutcome::Ended;
        if (n < 0 && errno != EINTR) return CloseOutcome::Ended;
        for (ssize_t k = 0; k < n; ++k) {
            if (progress[k] == kRunDoneByte) runEnd = DeadlineIn(kCloseRunTime);
        }
    }
}

// True when the instance has closed the connection or said something on it
// unasked: a kept connection is then no use for a request.
bool HeardFrom(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, 0) != 0;
}

} // namespace

bool FindResidentWindow() {
    // The connection of a look just before still stands for the instance
    // while the instance has neither closed nor answered it: asked again (a
    // launch looks before it loads the library, and again after its parse),
    // the look costs the instance no second connection.
    if (heldFd >= 0 && !HeardFrom(heldFd)) return true;
    if (heldFd >= 0) close(heldFd);
    const Connection connection = Connect();
    heldFd = connection.fd;
    return !connection.none;
}

HandOverResult HandOverCommandLine(const std::string& line, bool wait) {
    int fd = -1;
    HandOverResult result = Request(wait ? RequestKind::SyncLine : RequestKind::Line, line, fd);
    if (wait && result.status == HandOverResult::Accepted) AwaitReport(fd, result);
    if (fd >= 0) close(fd);
    return result;
}

CloseOutcome CloseResidentInstance(std::string& why) {
    int fd = -1;
    const HandOverResult answer = Request(RequestKind::Close, "", fd);
    CloseOutcome outcome = CloseOutcome::Ended;
    switch (answer.status) {
    case HandOverResult::Gone:
        break;
    case HandOverResult::Refused:
        why = "the resident instance did not take the close request: " + answer.reason;
        outcome = CloseOutcome::Refused;
        break;
    case HandOverResult::Failed:
        if (fd >= 0 && PeerIsStopped(fd)) {
            why = "the resident instance is stopped; it does not take the close request";
            outcome = CloseOutcome::Stopped;
        } else {
            why = "the resident instance cannot be reached: " + answer.reason;
            outcome = CloseOutcome::NotAnswering;
        }
        break;
    case HandOverResult::Accepted:
        outcome = WaitForEnd(fd, why);
        break;
    }
    if (fd >= 0) close(fd);
    if (outcome != CloseOutcome::Ended) return outcome;
    if (answer.status == HandOverResult::Gone) return outcome;
    // The connection ends with the process; a new instance may answer by now.
    if (FindResidentWindow()) {
        why = "a resident instance still answers";
        outcome = CloseOutcome::NotAnswering;
    }
    if (heldFd >= 0) close(heldFd);
    heldFd = -1;
    return outcome;
}
