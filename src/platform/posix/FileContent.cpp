#include "platform/FileContent.h"
#include "platform/LargeBuffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr std::size_t kTempStem = 200;

// Reads up to size bytes; the count read (less only at the end of the file),
// or -1 on an error.
ssize_t ReadSome(int fd, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t put = write(fd, data.data(), data.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

bool CloseChecked(int fd) { return close(fd) == 0 || errno == EINTR; }

// Copies the first length bytes of the file name to out.
bool CopyPrefix(const std::string& name, off_t length, int out) {
    int in = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    std::vector<char> buffer(kChunk);
    bool ok = true;
    while (ok && length > 0) {
        std::size_t want = static_cast<std::size_t>(std::min<off_t>(length, static_cast<off_t>(kChunk)));
        ssize_t got = ReadSome(in, buffer.data(), want);
        ok = got == static_cast<ssize_t>(want) && WriteAll(out, std::string_view(buffer.data(), want));
        length -= static_cast<off_t>(want);
    }
    close(in);
    return ok;
}

// The length of the old content that an append keeps: all of it, less a
// final CR LF.
bool KeptLength(const std::string& name, off_t size, off_t& kept) {
    kept = size;
    if (size < 2) return true;
    int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char tail[2];
    ssize_t got = pread(fd, tail, 2, size - 2);
    close(fd);
    if (got != 2) return false;
    if (tail[0] == '\r' && tail[1] == '\n') kept = size - 2;
    return true;
}

// Devices and pipes (/dev/stdout, a FIFO) cannot be replaced: they are written directly.
bool WriteInPlace(const std::string& name, std::string_view text) {
    int fd = open(name.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text);
    return CloseChecked(fd) && ok;
}

// The file a name stands for: the target of a symbolic link, so that the
// link survives the replacement.
std::string TargetOf(const std::string& name) {
    struct stat link {};
    if (lstat(name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return name;
    char* real = realpath(name.c_str(), nullptr);
    if (real == nullptr) return name;
    std::string target = real;
    std::free(real);
    return target;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Reads the open file fd to its end into text; false on a read error or
// when the text does not fit in memory.
bool ReadToEnd(int fd, const struct stat& info, std::string& text) try {
    // The size is a first guess only: pipes report none and files may grow.
    std::size_t size = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
    text.reserve(size + 1);
    AdviseLargeBuffer(text.data(), text.capacity());
    text.resize(size + 1);
    std::size_t done = 0;
    ssize_t got = 0;
    while ((got = ReadSome(fd, text.data() + done, text.size() - done)) > 0) {
        done += static_cast<std::size_t>(got);
        if (done < text.size()) break;
        text.resize(text.size() + std::max(text.size() / 2, kChunk));
    }
    text.resize(done);
    return got >= 0;
} catch (const std::bad_alloc&) {
    return false;
} catch (const std::length_error&) {
    return false;
}

} // namespace

bool ReadWholeFile(const std::string& name, std::string& content, std::string* reason) {
    errno = 0;
    int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    std::string text;
    bool ok = fd >= 0 && fstat(fd, &info) == 0;
    if (ok && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        ok = false;
    }
    ok = ok && ReadToEnd(fd, info, text);
    const int failure = errno != 0 ? errno : ENOMEM; // a failed allocation sets no errno
    if (fd >= 0) close(fd);
    if (ok) content = std::move(text);
    else if (reason != nullptr) *reason = std::strerror(failure);
    return ok;
}

bool RemoveFile(const std::string& name) { return unlink(name.c_str()) == 0; }

bool WriteFileSafely(const std::string& name, std::string_view text, bool append) {
    if (name.empty()) return false;
    const std::string target = TargetOf(name);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return false;
    // A file the user may not write stays as it is, as opening it for writing would fail.
    if (exists && access(target.c_str(), W_OK) != 0) return false;
    if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, text);
    // Appending nothing leaves the file as it is, final CR LF included.
    if (exists && append && text.empty()) return true;

    off_t kept = 0;
    if (exists && append && !KeptLength(target, old.st_size, kept)) return false;

    // The temporary name keeps at most kTempStem bytes of the file's own name,
    // so that it stays a valid name beside the longest file names.
    const std::size_t folderEnd = target.rfind('/') + 1; // 0 for a bare name
    std::string temp = target.substr(0, folderEnd) + "." + target.substr(folderEnd, kTempStem) + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = true;
    if (exists) {
        ok = fchmod(fd, old.st_mode & 07777) == 0;
        // Keeps the owner where the user may; failing to is harmless.
        [[maybe_unused]] int owned = fchown(fd, old.st_uid, old.st_gid);
    } else {
        ok = fchmod(fd, NewFileMode()) == 0;
    }
    if (ok && kept > 0) ok = CopyPrefix(target, kept, fd);
    if (ok) ok = WriteAll(fd, text);
    ok = CloseChecked(fd) && ok;
    if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}
