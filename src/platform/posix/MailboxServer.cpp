#include "platform/MailboxServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/MailboxFolder.h"
#include "platform/MailboxSocket.h"

namespace {

constexpr auto kRequestTime = std::chrono::milliseconds(2000); // a peer that sends nothing is dropped after it
constexpr auto kAnswerTime = std::chrono::milliseconds(1000);
constexpr std::size_t kMaxQueued = 4096;
constexpr std::size_t kMaxQueuedBytes = 64u << 20;

struct Mailbox {
    std::mutex mutex; // guards queue, queuedBytes, closing and closers
    std::deque<MailboxRequest> queue;
    std::size_t queuedBytes = 0;
    bool closing = false;
    std::vector<int> closers; // connections of launchers waiting for the end; open until the process exits

    bool open = false;
    int listenFd = -1;
    int stopPipe[2] = {-1, -1};
    int wakeFd = -1;
    std::string socketPath;
    dev_t device = 0;
    ino_t inode = 0;
    std::thread* server = nullptr; // never destroyed, so that no exit path can meet a joinable thread
};

// One instance for the process, never destroyed: the serving thread must not
// outlive it.
Mailbox& Box() {
    static Mailbox* box = new Mailbox;
    return *box;
}

void Wake(const Mailbox& box) {
    const char byte = 'm';
    [[maybe_unused]] const ssize_t written = write(box.wakeFd, &byte, 1); // a full pipe is awake already
}

// Queues the request; returns the refusal's reason, or empty when queued.
std::string Queue(Mailbox& box, MailboxRequest request) {
    std::lock_guard<std::mutex> hold(box.mutex);
    if (request.close) {
        box.closing = true;
        box.queue.push_back(std::move(request));
        return {};
    }
    if (box.closing) return "the resident instance is ending";
    if (box.queue.size() >= kMaxQueued || box.queuedBytes + request.line.size() > kMaxQueuedBytes)
        return "too many command lines are waiting";
    box.queuedBytes += request.line.size();
    box.queue.push_back(std::move(request));
    return {};
}

void Serve(Mailbox& box, int fd) {
    if (!PeerIsSameUser(fd)) {
        close(fd);
        return;
    }
    std::string received;
    RequestKind kind = RequestKind::Line;
    std::size_t length = 0;
    std::size_t headerSize = 0;
    HeaderStatus status = HeaderStatus::Incomplete;
    const auto complete = [&](const std::string& got) {
        status = ParseRequestHeader(got, kind, length, headerSize);
        return status != HeaderStatus::Incomplete && (status != HeaderStatus::Complete || got.size() >= headerSize + length);
    };
    // A connection that ends or stays silent (a launcher only looking for
    // the instance, or a stuck one) is dropped without an answer.
    if (!ReceiveUntil(fd, received, kMaxRequestHeader + kMaxHandOver, complete, DeadlineIn(kRequestTime))) {
        close(fd);
        return;
    }
    std::string refusal;
    if (status == HeaderStatus::TooLong) {
        refusal = "the command line is longer than " + std::to_string(kMaxHandOver) + " bytes";
    } else if (status == HeaderStatus::Malformed) {
        refusal = "the message is not of a known format";
    } else {
        MailboxRequest request;
        request.close = kind == RequestKind::Close;
        request.line = received.substr(headerSize, length);
        refusal = Queue(box, std::move(request));
    }
    const bool sent = SendAll(fd, EncodeAnswer(refusal.empty(), refusal), DeadlineIn(kAnswerTime));
    if (refusal.empty()) Wake(box);
    if (sent && refusal.empty() && kind == RequestKind::Close) {
        std::lock_guard<std::mutex> hold(box.mutex);
        box.closers.push_back(fd);
        return;
    }
    close(fd);
}

void ServeConnections(Mailbox& box) {
    for (;;) {
        pollfd entries[2] = {{box.listenFd, POLLIN, 0}, {box.stopPipe[0], POLLIN, 0}};
        if (poll(entries, 2, -1) < 0) continue;
        if (entries[1].revents != 0) return;
        const int fd = accept4(box.listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) Serve(box, fd);
    }
}

// Under the folder's lock: false with why when another instance answers or
// the socket cannot be made.
bool BindSocket(Mailbox& box, std::string& why) {
    box.socketPath = MailboxSocketPath();
    const int probe = ConnectToMailbox(box.socketPath);
    if (probe >= 0) {
        close(probe);
        why = "another instance is resident";
        return false;
    }
    struct stat info {};
    if (errno == ECONNREFUSED && lstat(box.socketPath.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
        unlink(box.socketPath.c_str()); // left by an instance that died
    } else if (errno != ENOENT && errno != ECONNREFUSED) {
        why = "the mailbox socket " + box.socketPath + " cannot be reached (" + std::strerror(errno) + ")";
        return false;
    }
    box.listenFd = ListenOnMailbox(box.socketPath);
    if (box.listenFd < 0 || lstat(box.socketPath.c_str(), &info) != 0) {
        why = "the mailbox socket " + box.socketPath + " cannot be created (" + std::strerror(errno) + ")";
        if (box.listenFd >= 0) close(box.listenFd);
        box.listenFd = -1;
        return false;
    }
    box.device = info.st_dev;
    box.inode = info.st_ino;
    return true;
}

} // namespace

bool OpenMailbox(int wakeFd, std::string& why) {
    Mailbox& box = Box();
    if (box.open) return true;
    if (CheckMailboxFolder(true, why) != FolderState::Usable) return false;
    if (box.stopPipe[0] < 0 && pipe2(box.stopPipe, O_CLOEXEC) != 0) {
        why = std::string("the mailbox cannot be served (") + std::strerror(errno) + ")";
        return false;
    }
    const int lock = LockMailboxFolder();
    if (lock < 0) {
        why = "the lock of the mailbox folder " + MailboxFolderPath() + " cannot be taken";
        return false;
    }
    const bool bound = BindSocket(box, why);
    UnlockMailboxFolder(lock);
    if (!bound) return false;
    box.wakeFd = wakeFd;
    box.open = true;
    box.server = new std::thread(ServeConnections, std::ref(box));
    static const bool registered = std::atexit(CloseMailbox) == 0;
    (void)registered;
    return true;
}

bool TakeMailboxRequest(MailboxRequest& request) {
    Mailbox& box = Box();
    std::lock_guard<std::mutex> hold(box.mutex);
    if (box.queue.empty()) return false;
    request = std::move(box.queue.front());
    box.queue.pop_front();
    box.queuedBytes -= request.line.size();
    return true;
}

void QueueMailboxClose() {
    MailboxRequest request;
    request.close = true;
    Queue(Box(), std::move(request));
}

void ReportRunToClosers() {
    Mailbox& box = Box();
    std::lock_guard<std::mutex> hold(box.mutex);
    for (const int fd : box.closers) {
        [[maybe_unused]] const ssize_t sent = send(fd, ".", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
}

void CloseMailbox() {
    Mailbox& box = Box();
    if (!box.open) return;
    box.open = false;
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        box.closing = true;
    }
    if (box.server != nullptr) {
        [[maybe_unused]] const ssize_t written = write(box.stopPipe[1], "s", 1);
        box.server->join();
    }
    // The socket is removed only while it is still the one this process
    // bound: after a removal by anyone else a new instance may own the name.
    const int lock = LockMailboxFolder();
    struct stat info {};
    if (lstat(box.socketPath.c_str(), &info) == 0 && info.st_dev == box.device && info.st_ino == box.inode)
        unlink(box.socketPath.c_str());
    UnlockMailboxFolder(lock);
    if (box.listenFd >= 0) close(box.listenFd);
    box.listenFd = -1;
}
