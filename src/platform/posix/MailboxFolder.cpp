#include "platform/MailboxFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "platform/MailboxSocket.h"

namespace {

constexpr std::string_view kSocketName = "tsr";

std::string OctalMode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

} // namespace

std::string MailboxFolderPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string folder = runtime;
        if (folder.back() != '/') folder += '/';
        folder += "tessara/";
        // A socket's name is short (sun_path): a runtime folder too deep for
        // it gives way to the folder in /tmp.
        if (folder.size() + kSocketName.size() + kStagingSuffix.size() < sizeof(sockaddr_un{}.sun_path)) return folder;
    }
    return "/tmp/tessara-" + std::to_string(getuid()) + "/";
}

std::string MailboxSocketPath() { return MailboxFolderPath() + std::string(kSocketName); }

FolderState CheckMailboxFolder(bool create, std::string& why) {
    std::string folder = MailboxFolderPath();
    folder.pop_back();
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            why = "the mailbox folder " + folder + " cannot be examined (" + std::strerror(errno) + ")";
            return FolderState::Refused;
        }
        if (!create) return FolderState::Missing;
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            why = "the mailbox folder " + folder + " cannot be created (" + std::strerror(errno) + ")";
            return FolderState::Refused;
        }
        if (lstat(folder.c_str(), &info) != 0) {
            why = "the mailbox folder " + folder + " cannot be examined (" + std::strerror(errno) + ")";
            return FolderState::Refused;
        }
    }
    if (!S_ISDIR(info.st_mode)) {
        why = "the mailbox folder " + folder + " is not a folder";
        return FolderState::Refused;
    }
    if (info.st_uid != getuid()) {
        why = "the mailbox folder " + folder + " belongs to another user";
        return FolderState::Refused;
    }
    if ((info.st_mode & 077) != 0) {
        why = "the mailbox folder " + folder + " is open to other users (mode " + OctalMode(info.st_mode) + ")";
        return FolderState::Refused;
    }
    // The umask narrows the mode of a new folder (0277 makes it 0500): the
    // instance that owns the mailbox needs 0700 to make its socket there.
    if (create && (info.st_mode & 0700) != 0700 && chmod(folder.c_str(), 0700) != 0) {
        why = "the mailbox folder " + folder + " cannot be made writable (" + std::strerror(errno) + ")";
        return FolderState::Refused;
    }
    return FolderState::Usable;
}

int LockMailboxFolder(std::string& why) {
    const std::string name = MailboxFolderPath() + "tsr.lock";
    // flock needs no write access: a lock file left read-only (made under a
    // narrow umask) still serves, and a new one is set to 0600.
    const int lock = open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0) {
        why = "the lock file " + name + " cannot be opened (" + std::strerror(errno) + ")";
        return -1;
    }
    struct stat info {};
    if (fstat(lock, &info) == 0 && info.st_uid == getuid() && (info.st_mode & 07777) != 0600) fchmod(lock, 0600);
    // The holders keep the lock for a few system calls only.
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (flock(lock, LOCK_EX | LOCK_NB) == 0) return lock;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            why = "the lock file " + name + " cannot be locked (" + std::strerror(errno) + ")";
            close(lock);
            return -1;
        }
        const timespec pause{0, 5'000'000};
        nanosleep(&pause, nullptr);
    }
    why = "the lock file " + name + " stayed locked by another process for two seconds";
    close(lock);
    return -1;
}

void UnlockMailboxFolder(int lock) {
    if (lock >= 0) close(lock);
}
