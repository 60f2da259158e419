#include "platform/MailboxSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::string_view kVersion = "TSR2 ";
constexpr std::string_view kOldVersion = "TSR1 ";

// Waits until fd is ready for events; false with errno ETIMEDOUT at the deadline.
bool WaitReady(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0) return true;
        if (ready == 0) {
            errno = ETIMEDOUT;
            return false;
        }
        if (errno != EINTR) return false;
    }
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The number of at most 9 digits at the start of text, and the rest after it.
bool ReadNumber(std::string_view text, std::size_t& value, std::string_view& rest) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view digits = text.substr(0, end);
    if (!AllDigits(digits) || digits.size() > 9) return false;
    value = std::stoul(std::string(digits));
    rest = text.substr(end);
    return true;
}

std::string OneLine(std::string_view prefix, std::string_view text) {
    std::string line = std::string(prefix) + std::string(text.substr(0, kMaxAnswer - 16));
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line + "\n";
}

} // namespace

std::size_t MaxHandOverBytes() {
    const long system = sysconf(_SC_ARG_MAX);
    constexpr std::size_t kLeast = std::size_t{128} << 10;
    constexpr std::size_t kMost = std::size_t{64} << 20;
    if (system <= 0) return kLeast;
    return std::clamp(static_cast<std::size_t>(system), kLeast, kMost);
}

std::string EncodeRequest(RequestKind kind, std::string_view payload) {
    static constexpr std::string_view kWords[] = {"LINE ", "SYNC ", "CLOSE "};
    std::string request(kVersion);
    request += kWords[static_cast<int>(kind)];
    request += std::to_string(payload.size()) + "\n";
    request += payload;
    return request;
}

std::string EncodeAnswer(AnswerKind kind) {
    return std::string(kVersion) + (kind == AnswerKind::Ready ? "READY\n" : "OK\n");
}

std::string EncodeRefusal(std::string_view reason) { return OneLine(std::string(kVersion) + "NO ", reason); }

std::string EncodeOldVersionRefusal() {
    return OneLine(std::string(kOldVersion) + "NO ", "the resident instance speaks version 2 of the mailbox format");
}

std::string EncodeRunReport(int exitCode, std::string_view notes) {
    return std::string(kVersion) + "DONE " + std::to_string(exitCode) + " " + std::to_string(notes.size()) + "\n" +
           std::string(notes);
}

HeaderStatus ParseRequestHeader(std::string_view received, RequestKind& kind, std::size_t& length,
                                std::size_t& headerSize) {
    const std::size_t known = std::min(received.size(), kVersion.size());
    if (received.substr(0, known) != kVersion.substr(0, known))
        return received.starts_with(kOldVersion) ? HeaderStatus::OldVersion : HeaderStatus::Malformed;
    const std::size_t end = received.find('\n');
    if (end == std::string_view::npos)
        return received.size() < kMaxRequestHeader ? HeaderStatus::Incomplete : HeaderStatus::Malformed;
    if (end + 1 > kMaxRequestHeader) return HeaderStatus::Malformed;
    const std::string_view header = received.substr(kVersion.size(), end - kVersion.size());
    const std::size_t blank = header.find(' ');
    if (blank == std::string_view::npos) return HeaderStatus::Malformed;
    const std::string_view word = header.substr(0, blank);
    std::size_t value = 0;
    std::string_view rest;
    if (!ReadNumber(header.substr(blank + 1), value, rest) || !rest.empty()) return HeaderStatus::Malformed;
    if (word == "LINE" || word == "SYNC") {
        if (value > MaxHandOverBytes()) return HeaderStatus::TooLong;
        kind = word == "LINE" ? RequestKind::Line : RequestKind::SyncLine;
    } else if (word == "CLOSE" && value == 0) {
        kind = RequestKind::Close;
    } else {
        return HeaderStatus::Malformed;
    }
    length = value;
    headerSize = end + 1;
    return HeaderStatus::Complete;
}

bool ParseAnswer(std::string_view line, Answer& answer) {
    if (!line.starts_with(kVersion) || !line.ends_with('\n')) return false;
    const std::string_view body = line.substr(kVersion.size(), line.size() - kVersion.size() - 1);
    answer = Answer{};
    if (body == "READY" || body == "OK") {
        answer.kind = body == "OK" ? AnswerKind::Ok : AnswerKind::Ready;
        return true;
    }
    if (body.starts_with("NO ")) {
        answer.kind = AnswerKind::No;
        answer.reason = body.substr(3);
        return true;
    }
    if (!body.starts_with("DONE ")) return false;
    // "DONE <code> <length>", the code possibly negative
    std::string_view rest = body.substr(5);
    const bool negative = rest.starts_with('-');
    if (negative) rest.remove_prefix(1);
    std::size_t code = 0;
    std::size_t length = 0;
    if (!ReadNumber(rest, code, rest) || !rest.starts_with(' ') || !ReadNumber(rest.substr(1), length, rest) ||
        !rest.empty())
        return false;
    answer.kind = AnswerKind::Done;
    answer.exitCode = negative ? -static_cast<int>(code) : static_cast<int>(code);
    answer.reportLength = length;
    return true;
}

int MillisecondsLeft(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Deadline DeadlineIn(std::chrono::milliseconds time) { return std::chrono::steady_clock::now() + time; }

bool SendAll(int fd, std::string_view data, Deadline deadline) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitReady(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

bool ReceiveUntil(int fd, std::string& buffer, std::size_t limit,
                  const std::function<bool(const std::string&)>& done, Deadline deadline) {
    char chunk[4096];
    while (!done(buffer)) {
        if (buffer.size() >= limit) {
            errno = EMSGSIZE;
            return false;
        }
        const ssize_t n = recv(fd, chunk, std::min(sizeof chunk, limit - buffer.size()), MSG_DONTWAIT);
        if (n > 0) {
            buffer.append(chunk, static_cast<std::size_t>(n));
        } else if (n == 0) {
            errno = ECONNRESET;
            return false;
        } else if (errno == EAGAIN || errno == EINTR) {
            if (!WaitReady(fd, POLLIN, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

bool PeerIsSameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

bool PeerIsStopped(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0) return false;
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(peer.pid) + "/stat").c_str(), "r");
    if (stat == nullptr) return false;
    char text[512] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    // "pid (name) S ...": the state follows the name's closing parenthesis.
    const std::string_view fields(text, n);
    const std::size_t close = fields.rfind(')');
    return close != std::string_view::npos && close + 2 < fields.size() &&
           (fields[close + 2] == 'T' || fields[close + 2] == 't');
}

int ConnectToMailbox(const std::string& path) {
    sockaddr_un address{};
    if (!SocketAddress(path, address)) return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    // A full backlog makes connect wait; the send time-out bounds that wait.
    const timeval limit{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    while (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int ListenOnMailbox(const std::string& path) {
    sockaddr_un address{};
    if (!SocketAddress(path, address)) return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    // The socket is made under a staging name and takes its place only once
    // it listens, so that a socket found at path always takes connections.
    // Its file takes its mode from the umask: 0600 whatever the user's umask
    // is, so that the user's own launchers can always connect.
    const std::string staging = path + std::string(kStagingSuffix);
    sockaddr_un stagingAddress{};
    if (!SocketAddress(staging, stagingAddress)) {
        close(fd);
        errno = ENAMETOOLONG;
        return -1;
    }
    unlink(staging.c_str()); // left by an instance that died while it opened its mailbox
    const mode_t umaskBefore = umask(0177);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&stagingAddress), sizeof stagingAddress) == 0;
    umask(umaskBefore);
    if (!bound || listen(fd, SOMAXCONN) != 0 || rename(staging.c_str(), path.c_str()) != 0) {
        if (bound) unlink(staging.c_str());
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
