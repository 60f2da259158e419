#include "platform/MailboxFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

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
        return folder + "tessara/";
    }
    return "/tmp/tessara-" + std::to_string(getuid()) + "/";
}

std::string MailboxSocketPath() { return MailboxFolderPath() + "tsr"; }

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
        // The mode is set on creation, not by umask, and checked below like
        // that of a folder found in place.
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
    return FolderState::Usable;
}

int LockMailboxFolder() {
    const std::string name = MailboxFolderPath() + "tsr.lock";
    const int lock = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0) return -1;
    // The holders keep the lock for a few system calls only.
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (flock(lock, LOCK_EX | LOCK_NB) == 0) return lock;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        const timespec pause{0, 5'000'000};
        nanosleep(&pause, nullptr);
    }
    close(lock);
    return -1;
}

void UnlockMailboxFolder(int lock) {
    if (lock >= 0) close(lock);
}
