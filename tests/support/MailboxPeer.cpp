#include "MailboxPeer.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

sockaddr_un AddressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

} // namespace

int ConnectMailbox(const std::string& path, bool nonBlocking) {
    const sockaddr_un address = AddressOf(path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 || nonBlocking) return fd;
    close(fd);
    return -1;
}

int ListenAt(const std::string& path, int backlog) {
    const sockaddr_un address = AddressOf(path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        listen(fd, backlog) == 0)
        return fd;
    if (fd >= 0) close(fd);
    return -1;
}

std::string ExchangeWithMailbox(const std::string& path, const std::string& request) {
    const int fd = ConnectMailbox(path);
    if (fd < 0) return "<no connection>";
    const timeval limit{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    std::string answer;
    char chunk[512];
    ssize_t n = 0;
    while (answer.find('\n') == std::string::npos && (n = recv(fd, chunk, sizeof chunk, 0)) > 0)
        answer.append(chunk, static_cast<std::size_t>(n));
    if (answer.ends_with(" READY\n")) send(fd, "Y", 1, MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    while ((n = recv(fd, chunk, sizeof chunk, 0)) > 0) answer.append(chunk, static_cast<std::size_t>(n));
    close(fd);
    return answer;
}
