#include "platform/MailboxSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::string_view kVersion = "TSR1 ";

int MillisecondsLeft(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

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

} // namespace

std::string EncodeRequest(RequestKind kind, std::string_view payload) {
    std::string request(kVersion);
    request += kind == RequestKind::Line ? "LINE " : "CLOSE ";
    request += std::to_string(payload.size()) + "\n";
    request += payload;
    return request;
}

std::string EncodeAnswer(bool accepted, std::string_view reason) {
    if (accepted) return std::string(kVersion) + "OK\n";
    std::string line = std::string(kVersion) + "NO " + std::string(reason.substr(0, kMaxAnswer - 16));
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line + "\n";
}

HeaderStatus ParseRequestHeader(std::string_view received, RequestKind& kind, std::size_t& length,
                                std::size_t& headerSize) {
    const std::size_t known = std::min(received.size(), kVersion.size());
    if (received.substr(0, known) != kVersion.substr(0, known)) return HeaderStatus::Malformed;
    const std::size_t end = received.find('\n');
    if (end == std::string_view::npos)
        return received.size() < kMaxRequestHeader ? HeaderStatus::Incomplete : HeaderStatus::Malformed;
    if (end + 1 > kMaxRequestHeader) return HeaderStatus::Malformed;
    const std::string_view header = received.substr(kVersion.size(), end - kVersion.size());
    const std::size_t blank = header.find(' ');
    if (blank == std::string_view::npos) return HeaderStatus::Malformed;
    const std::string_view word = header.substr(0, blank);
    const std::string_view digits = header.substr(blank + 1);
    if (!AllDigits(digits) || digits.size() > 9) return HeaderStatus::Malformed;
    const std::size_t value = std::stoul(std::string(digits));
    if (word == "LINE") {
        if (value > kMaxHandOver) return HeaderStatus::TooLong;
        kind = RequestKind::Line;
    } else if (word == "CLOSE" && value == 0) {
        kind = RequestKind::Close;
    } else {
        return HeaderStatus::Malformed;
    }
    length = value;
    headerSize = end + 1;
    return HeaderStatus::Complete;
}

bool ParseAnswer(std::string_view line, bool& accepted, std::string& reason) {
    if (!line.starts_with(kVersion) || !line.ends_with('\n')) return false;
    const std::string_view body = line.substr(kVersion.size(), line.size() - kVersion.size() - 1);
    if (body == "OK") {
        accepted = true;
        reason.clear();
        return true;
    }
    if (!body.starts_with("NO ")) return false;
    accepted = false;
    reason = body.substr(3);
    return true;
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
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
