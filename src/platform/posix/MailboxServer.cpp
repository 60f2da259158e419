#include "platform/MailboxServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/MailboxFolder.h"
#include "platform/MailboxSocket.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kRequestTime{2000}; // a connection's whole request arrives within it
constexpr milliseconds kCommitTime{2000};  // a launcher commits its line within it after READY
constexpr milliseconds kAliveEvery{1000};  // waiting launchers hear from the instance this often
constexpr milliseconds kFlushTime{1000};   // the last reports go out within it when serving stops
constexpr milliseconds kAcceptPause{100};  // no descriptor left and none to free: accepting rests
constexpr std::size_t kMaxQueued = 4096;
constexpr std::size_t kMaxQueuedBytes = std::size_t{64} << 20;

enum class Phase {
    Request,  // the request is arriving
    Commit,   // READY was sent; the launcher's commit byte is awaited
    Waiter,   // a committed SYNC line: the report goes out after its run
    Closer,   // a close request: open until the process exits
    Answered, // the last bytes go out, then the connection is closed
};

struct Peer {
    int fd = -1;
    Phase phase = Phase::Request;
    Deadline deadline;
    std::string in;
    std::string out;
    bool readDone = false; // the peer sends nothing more
    MailboxRequest line;   // Commit and Waiter: the line handed over
};

struct Report {
    std::uint64_t ticket;
    std::string bytes;
};

struct Mailbox {
    std::mutex mutex; // guards the members up to ownCloseAsked
    std::deque<MailboxRequest> queue;
    std::size_t queuedLines = 0; // lines queued or waiting for their commit
    std::size_t queuedBytes = 0;
    bool closing = false;      // lines are refused
    bool closeQueued = false;  // a close request is in the queue
    std::vector<Report> reports;
    int runsDone = 0;
    bool ownCloseAsked = false;
    bool (*endsInstance)(const std::string&) = nullptr;

    // The serving thread's own.
    std::vector<Peer> peers; // in order of arrival
    std::uint64_t nextTicket = 1;
    std::size_t maxConnections = 64; // requests and commits at once
    std::size_t maxWaiting = 64;     // launchers waiting for a report or for the end
    Deadline acceptResumes{};
    Deadline nextAlive{};

    bool open = false;
    int listenFd = -1;
    int spareFd = -1; // held back, so that a connection can still be refused with no descriptor left
    int signalPipe[2] = {-1, -1}; // to the serving thread: 's' stop, 'r' reports, 'c' own close
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

void Signal(const Mailbox& box, char byte) {
    [[maybe_unused]] const ssize_t written = write(box.signalPipe[1], &byte, 1);
}

// Sizes the bounds by the descriptors the process may open, so that a
// flood of connections leaves the runs enough of them.
void SizeBounds(Mailbox& box) {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) return;
    const auto part = [&](rlim_t share, std::size_t least) {
        return std::clamp(static_cast<std::size_t>(files.rlim_cur / share), least, std::size_t{64});
    };
    box.maxConnections = part(4, 2);
    box.maxWaiting = part(8, 1);
}

std::size_t CountPeers(const Mailbox& box, std::initializer_list<Phase> phases) {
    return static_cast<std::size_t>(std::count_if(box.peers.begin(), box.peers.end(), [&](const Peer& peer) {
        return peer.fd >= 0 && std::find(phases.begin(), phases.end(), peer.phase) != phases.end();
    }));
}

// The launchers that wait for a report or for the end, and the SYNC lines
// that will.
std::size_t CountWaiting(const Mailbox& box) {
    return static_cast<std::size_t>(std::count_if(box.peers.begin(), box.peers.end(), [](const Peer& peer) {
        return peer.fd >= 0 && (peer.phase == Phase::Waiter || peer.phase == Phase::Closer ||
                                (peer.phase == Phase::Commit && peer.line.wait));
    }));
}

void Answer(Peer& peer, const std::string& bytes) {
    peer.out += bytes;
    peer.phase = Phase::Answered;
    peer.deadline = DeadlineIn(kRequestTime);
}

// Closes the connection; a line that waited for its commit gives its room back.
void Forget(Mailbox& box, Peer& peer) {
    if (peer.fd < 0) return;
    if (peer.phase == Phase::Commit) {
        std::lock_guard<std::mutex> hold(box.mutex);
        --box.queuedLines;
        box.queuedBytes -= peer.line.line.size();
    }
    close(peer.fd);
    peer.fd = -1;
}

void ResolveCommits(Mailbox& box, const Peer* except);

// The launcher committed its line: it goes into the queue. A line that will
// end the instance first lets the lines committed meanwhile go ahead of it,
// and then closes the mailbox to lines.
void Commit(Mailbox& box, Peer& peer, bool settleOthers) {
    const bool ends = box.endsInstance != nullptr && box.endsInstance(peer.line.line);
    if (ends && settleOthers) ResolveCommits(box, &peer);
    if (peer.line.wait) peer.line.ticket = box.nextTicket++;
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        box.queue.push_back(peer.line);
        if (ends) box.closing = true;
    }
    Wake(box);
    if (peer.line.wait) {
        peer.phase = Phase::Waiter;
        peer.line.line.clear();
        return;
    }
    peer.phase = Phase::Answered; // the room is the queue's now
    close(peer.fd);
    peer.fd = -1;
}

// Decides a line that waits for its commit now: reading is shut first, so
// that a commit byte the launcher could still send fails for it; one that
// arrived before counts.
void Resolve(Mailbox& box, Peer& peer, bool settleOthers) {
    shutdown(peer.fd, SHUT_RD);
    char byte = 0;
    if (recv(peer.fd, &byte, 1, MSG_DONTWAIT) == 1 && byte == kCommitByte) Commit(box, peer, settleOthers);
    else Forget(box, peer);
}

void ResolveCommits(Mailbox& box, const Peer* except) {
    for (Peer& peer : box.peers) {
        if (&peer != except && peer.fd >= 0 && peer.phase == Phase::Commit) Resolve(box, peer, false);
    }
}

// A close request, from a launcher (peer) or from the instance itself: the
// lines committed so far stay ahead of it, and no line is taken after it.
void QueueClose(Mailbox& box, Peer* peer) {
    ResolveCommits(box, nullptr);
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        box.closing = true;
        if (!box.closeQueued) box.queue.push_back(MailboxRequest{true, {}, false, 0});
        box.closeQueued = true;
    }
    Wake(box);
    if (peer == nullptr) return;
    if (CountWaiting(box) >= box.maxWaiting) {
        Answer(*peer, EncodeRefusal("too many launchers are waiting for the resident instance to end; it ends all "
                                    "the same"));
        return;
    }
    peer->out += EncodeAnswer(AnswerKind::Ok);
    peer->phase = Phase::Closer;
}

// Makes room for a line, or refuses it.
std::string Reserve(Mailbox& box, const std::string& line, bool wait) {
    std::lock_guard<std::mutex> hold(box.mutex);
    if (box.closing) return "the resident instance is ending";
    if (box.queuedLines >= kMaxQueued || box.queuedBytes + line.size() > kMaxQueuedBytes)
        return "too many command lines are waiting";
    if (wait && CountWaiting(box) >= box.maxWaiting)
        return "too many launchers are waiting for their runs";
    ++box.queuedLines;
    box.queuedBytes += line.size();
    return {};
}

// Acts on the bytes of a request received so far.
void Examine(Mailbox& box, Peer& peer) {
    RequestKind kind = RequestKind::Line;
    std::size_t length = 0;
    std::size_t headerSize = 0;
    switch (ParseRequestHeader(peer.in, kind, length, headerSize)) {
    case HeaderStatus::Incomplete:
        return;
    case HeaderStatus::OldVersion:
        Answer(peer, EncodeOldVersionRefusal());
        return;
    case HeaderStatus::Malformed:
        Answer(peer, EncodeRefusal("the message is not of a known format"));
        return;
    case HeaderStatus::TooLong:
        Answer(peer, EncodeRefusal("the command line is longer than " + std::to_string(MaxHandOverBytes()) + " bytes"));
        return;
    case HeaderStatus::Complete:
        break;
    }
    if (peer.in.size() < headerSize + length) return;
    if (kind == RequestKind::Close) {
        QueueClose(box, &peer);
        return;
    }
    std::string line = peer.in.substr(headerSize, length);
    peer.in.clear();
    const bool wait = kind == RequestKind::SyncLine;
    const std::string refusal = Reserve(box, line, wait);
    if (!refusal.empty()) {
        Answer(peer, EncodeRefusal(refusal));
        return;
    }
    peer.line = MailboxRequest{false, std::move(line), wait, 0};
    peer.out += EncodeAnswer(AnswerKind::Ready);
    peer.phase = Phase::Commit;
    peer.deadline = DeadlineIn(kCommitTime);
}

void Receive(Mailbox& box, Peer& peer) {
    char chunk[16384];
    const std::size_t limit = kMaxRequestHeader + MaxHandOverBytes();
    const std::size_t room = peer.phase == Phase::Request ? std::min(sizeof chunk, limit - peer.in.size()) : sizeof chunk;
    const ssize_t n = recv(peer.fd, chunk, std::max<std::size_t>(room, 1), MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (peer.phase == Phase::Commit) {
        // Anything but the commit byte, or the end, drops the line.
        if (n > 0 && chunk[0] == kCommitByte) Commit(box, peer, true);
        else Forget(box, peer);
        return;
    }
    if (n <= 0) {
        // A launcher that waits may have shut its sending side only.
        if (n == 0 && (peer.phase == Phase::Waiter || peer.phase == Phase::Closer)) peer.readDone = true;
        else Forget(box, peer); // the peer left
        return;
    }
    if (peer.phase != Phase::Request) return; // nothing more is expected
    peer.in.append(chunk, static_cast<std::size_t>(n));
    Examine(box, peer);
}

void Send(Mailbox& box, Peer& peer) {
    const ssize_t n = send(peer.fd, peer.out.data(), peer.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return;
        Forget(box, peer);
        return;
    }
    peer.out.erase(0, static_cast<std::size_t>(n));
    if (peer.out.empty() && peer.phase == Phase::Answered) Forget(box, peer);
}

// Deals out what the resident loop reported, and the instance's own close.
void TakeSignals(Mailbox& box, bool& stop) {
    char bytes[64];
    ssize_t n = 0;
    bool ownClose = false;
    while ((n = read(box.signalPipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t k = 0; k < n; ++k) {
            if (bytes[k] == 's') stop = true;
            if (bytes[k] == 'c') ownClose = true;
        }
    }
    std::vector<Report> reports;
    int runs = 0;
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        reports.swap(box.reports);
        runs = std::exchange(box.runsDone, 0);
    }
    for (Peer& peer : box.peers) {
        if (peer.fd < 0) continue;
        if (peer.phase == Phase::Closer) peer.out.append(static_cast<std::size_t>(runs), kRunDoneByte);
        if (peer.phase != Phase::Waiter) continue;
        for (const Report& report : reports) {
            if (report.ticket == peer.line.ticket) Answer(peer, report.bytes);
        }
    }
    if (ownClose) QueueClose(box, nullptr);
}

// Makes room for one more connection: the oldest one still sending its
// request goes first, else the oldest line waiting for its commit is
// decided. False when every connection waits for a run or for the end.
bool FreeAConnection(Mailbox& box) {
    for (Peer& peer : box.peers) {
        if (peer.fd >= 0 && peer.phase == Phase::Request) {
            Forget(box, peer);
            return true;
        }
    }
    for (Peer& peer : box.peers) {
        if (peer.fd >= 0 && peer.phase == Phase::Commit) {
            Resolve(box, peer, true);
            return true;
        }
    }
    return false;
}

// Accepts a connection in the descriptor held back and refuses it at once.
// Rests accepting for a moment when even that fails.
void RefuseOne(Mailbox& box) {
    if (box.spareFd >= 0) close(box.spareFd);
    const int fd = accept4(box.listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd >= 0) {
        const std::string refusal = EncodeRefusal("the resident instance has too many open connections");
        [[maybe_unused]] const ssize_t sent = send(fd, refusal.data(), refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        close(fd);
    }
    box.spareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0 || box.spareFd < 0) box.acceptResumes = DeadlineIn(kAcceptPause);
}

void AcceptOne(Mailbox& box) {
    if (CountPeers(box, {Phase::Request, Phase::Commit}) >= box.maxConnections) FreeAConnection(box);
    const int fd = accept4(box.listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
        // Out of descriptors the pending connection stays readable: free one,
        // or refuse it in the descriptor held back, but never spin.
        if (errno != EMFILE && errno != ENFILE && errno != ENOBUFS && errno != ENOMEM) return;
        SizeBounds(box);
        if (!FreeAConnection(box)) RefuseOne(box);
        return;
    }
    if (!PeerIsSameUser(fd)) {
        close(fd);
        return;
    }
    Peer peer;
    peer.fd = fd;
    peer.deadline = DeadlineIn(kRequestTime);
    box.peers.push_back(std::move(peer));
}

// Deadlines and the signs of life.
void Keep(Mailbox& box) {
    const Deadline now = Clock::now();
    const bool alive = now >= box.nextAlive;
    if (alive) box.nextAlive = now + kAliveEvery;
    for (Peer& peer : box.peers) {
        if (peer.fd < 0) continue;
        if ((peer.phase == Phase::Request || peer.phase == Phase::Answered) && now >= peer.deadline)
            Forget(box, peer); // silent, stuck, or not reading its answer
        else if (peer.phase == Phase::Commit && now >= peer.deadline) Resolve(box, peer, true);
        else if (alive && (peer.phase == Phase::Waiter || peer.phase == Phase::Closer)) peer.out += kAliveByte;
    }
}

int PollTimeout(const Mailbox& box) {
    Deadline next = box.nextAlive;
    for (const Peer& peer : box.peers) {
        if (peer.fd >= 0 && (peer.phase == Phase::Request || peer.phase == Phase::Commit || peer.phase == Phase::Answered))
            next = std::min(next, peer.deadline);
    }
    if (box.acceptResumes > Clock::now()) next = std::min(next, box.acceptResumes);
    return MillisecondsLeft(next) + 1;
}

// Sends what is still to go to the launchers within kFlushTime and closes
// their connections; those waiting for the end stay open until the exit.
void Flush(Mailbox& box) {
    const Deadline deadline = DeadlineIn(kFlushTime);
    for (Peer& peer : box.peers) {
        if (peer.fd < 0 || peer.phase == Phase::Closer) continue;
        if (peer.phase == Phase::Commit) shutdown(peer.fd, SHUT_RD); // its commit must fail
        if (peer.phase == Phase::Answered) SendAll(peer.fd, peer.out, deadline);
        Forget(box, peer);
    }
}

void ServeConnections(Mailbox& box) {
    std::vector<pollfd> entries;
    for (;;) {
        std::erase_if(box.peers, [](const Peer& peer) { return peer.fd < 0; });
        entries.clear();
        entries.push_back({box.signalPipe[0], POLLIN, 0});
        const bool accepting = Clock::now() >= box.acceptResumes;
        entries.push_back({accepting ? box.listenFd : -1, POLLIN, 0});
        for (const Peer& peer : box.peers) {
            const bool reading = peer.phase != Phase::Answered && !peer.readDone;
            entries.push_back({peer.fd, static_cast<short>((reading ? POLLIN : 0) | (peer.out.empty() ? 0 : POLLOUT)), 0});
        }
        if (poll(entries.data(), entries.size(), PollTimeout(box)) < 0 && errno != EINTR) continue;
        bool stop = false;
        if (entries[0].revents != 0) TakeSignals(box, stop);
        if (stop) {
            Flush(box);
            // No connection is taken any more; the descriptors go back to a
            // process that may have none left.
            close(box.listenFd);
            box.listenFd = -1;
            if (box.spareFd >= 0) close(box.spareFd);
            box.spareFd = -1;
            return;
        }
        // Peers added below are polled in the next pass.
        const std::size_t polled = entries.size() - 2;
        for (std::size_t k = 0; k < polled; ++k) {
            Peer& peer = box.peers[k];
            const short events = entries[k + 2].revents;
            if (events == 0 || peer.fd < 0) continue;
            // An answer goes out even to a peer that has shut its sending side.
            const bool reading = peer.phase != Phase::Answered && !peer.readDone;
            if (reading && (events & (POLLIN | POLLHUP | POLLERR)) != 0) Receive(box, peer);
            if (peer.fd >= 0 && !peer.out.empty()) Send(box, peer);
            else if (peer.fd >= 0 && !reading && (events & (POLLHUP | POLLERR)) != 0) Forget(box, peer);
        }
        Keep(box);
        if (entries[1].revents != 0) AcceptOne(box);
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
    } else if (errno == EACCES && lstat(box.socketPath.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
               info.st_uid == getuid()) {
        // A socket of ours that nobody may write (left under a narrow umask)
        // can reach no instance: it is replaced.
        unlink(box.socketPath.c_str());
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
    if (box.signalPipe[0] < 0 && pipe2(box.signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        why = std::string("the mailbox cannot be served (") + std::strerror(errno) + ")";
        return false;
    }
    const int lock = LockMailboxFolder(why);
    if (lock < 0) return false;
    const bool bound = BindSocket(box, why);
    UnlockMailboxFolder(lock);
    if (!bound) return false;
    SizeBounds(box);
    if (box.spareFd < 0) box.spareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    box.wakeFd = wakeFd;
    box.open = true;
    box.server = new std::thread(ServeConnections, std::ref(box));
    static const bool registered = std::atexit(CloseMailbox) == 0;
    (void)registered;
    return true;
}

void SetLineEndsInstance(bool (*endsInstance)(const std::string& line)) { Box().endsInstance = endsInstance; }

bool TakeMailboxRequest(MailboxRequest& request) {
    Mailbox& box = Box();
    std::lock_guard<std::mutex> hold(box.mutex);
    if (box.queue.empty()) return false;
    request = std::move(box.queue.front());
    box.queue.pop_front();
    if (!request.close) {
        --box.queuedLines;
        box.queuedBytes -= request.line.size();
    }
    return true;
}

void QueueMailboxClose() {
    Mailbox& box = Box();
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        if (box.ownCloseAsked) return;
        box.ownCloseAsked = true;
    }
    Signal(box, 'c');
}

void FinishMailboxRequest(const MailboxRequest& request, int exitCode, const std::string& notes) {
    Mailbox& box = Box();
    if (!box.open) return;
    {
        std::lock_guard<std::mutex> hold(box.mutex);
        if (request.wait) box.reports.push_back({request.ticket, EncodeRunReport(exitCode, notes)});
        ++box.runsDone;
    }
    Signal(box, 'r');
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
        Signal(box, 's');
        box.server->join();
    }
    // The socket is removed only while it is still the one this process
    // bound: after a removal by anyone else a new instance may own the name.
    std::string why;
    const int lock = LockMailboxFolder(why);
    struct stat info {};
    if (lstat(box.socketPath.c_str(), &info) == 0 && info.st_dev == box.device && info.st_ino == box.inode)
        unlink(box.socketPath.c_str());
    UnlockMailboxFolder(lock);
    if (box.listenFd >= 0) close(box.listenFd);
    box.listenFd = -1;
}
