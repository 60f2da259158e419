// Whole files through the Win32 file functions, replaced safely: a new
// content goes to a temporary file beside the old one, which MoveFileExA
// puts in its place once everything was written.
#include "platform/FileContent.h"

#include <windows.h>

#include "platform/LargeBuffer.h"
#include "platform/win32/SystemError.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <vector>

namespace {

constexpr DWORD kChunk = DWORD{1} << 20;
constexpr std::size_t kTempStem = 200;

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (Valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool Close() {
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

HANDLE OpenForReading(const std::string& name) {
    return CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadExactly(HANDLE file, char* data, std::size_t size) {
    while (size > 0) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, kChunk));
        if (!ReadFile(file, data, want, &got, nullptr) || got == 0) return false;
        data += got;
        size -= got;
    }
    return true;
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size(), kChunk));
        if (!WriteFile(file, data.data(), want, &put, nullptr) || put == 0) return false;
        data.remove_prefix(put);
    }
    return true;
}

// Reads the open file to its end; false on a read error or when the text does
// not fit in memory.
bool ReadToEnd(HANDLE file, std::string& text) try {
    LARGE_INTEGER size{};
    // The size is a first guess only: pipes and devices report none.
    const std::size_t guess =
        GetFileSizeEx(file, &size) && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) : 0;
    text.reserve(guess + 1);
    AdviseLargeBuffer(text.data(), text.capacity());
    text.resize(guess + 1);
    std::size_t done = 0;
    for (;;) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, kChunk));
        if (!ReadFile(file, text.data() + done, want, &got, nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE) break; // a pipe's end
            return false;
        }
        if (got == 0) break;
        done += got;
        if (done == text.size()) text.resize(text.size() + std::max<std::size_t>(text.size() / 2, kChunk));
    }
    text.resize(done);
    return true;
} catch (const std::bad_alloc&) {
    return false;
} catch (const std::length_error&) {
    return false;
}

// The length of the old content that an append keeps: all of it, less a
// final CR LF.
bool KeptLength(const std::string& name, std::uint64_t& kept) {
    Handle file(OpenForReading(name));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.get(), &size)) return false;
    kept = static_cast<std::uint64_t>(size.QuadPart);
    if (kept < 2) return true;
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - 2;
    char tail[2];
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !ReadExactly(file.get(), tail, 2)) return false;
    if (tail[0] == '\r' && tail[1] == '\n') kept -= 2;
    return true;
}

// Copies the first length bytes of the file name to out.
bool CopyPrefix(const std::string& name, std::uint64_t length, HANDLE out) {
    Handle in(OpenForReading(name));
    if (!in.Valid()) return false;
    std::vector<char> buffer(kChunk);
    while (length > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(length, kChunk));
        if (!ReadExactly(in.get(), buffer.data(), want) || !WriteAll(out, std::string_view(buffer.data(), want)))
            return false;
        length -= want;
    }
    return true;
}

// A temporary file beside target that no other file has, opened for writing.
HANDLE CreateTemporary(const std::string& target, std::string& temp) {
    const std::size_t folderEnd = target.find_last_of("\\/:") + 1; // 0 for a bare name
    const std::string stem = target.substr(0, folderEnd) + "~" + target.substr(folderEnd, kTempStem) + ".";
    const DWORD seed = GetTickCount() ^ GetCurrentProcessId();
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        temp = stem + std::to_string(seed + attempt) + ".tmp";
        HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool ReadWholeFile(const std::string& name, std::string& content, std::string* reason) {
    SetLastError(ERROR_SUCCESS);
    Handle file(OpenForReading(name));
    std::string text;
    const bool ok = file.Valid() && ReadToEnd(file.get(), text);
    if (ok) content = std::move(text);
    else if (reason != nullptr) {
        const DWORD code = GetLastError();
        // A failed allocation sets no error code.
        *reason = SystemErrorText(code != ERROR_SUCCESS ? code : ERROR_NOT_ENOUGH_MEMORY);
    }
    return ok;
}

bool RemoveFile(const std::string& name) { return DeleteFileA(name.c_str()) != 0; }

bool WriteFileSafely(const std::string& name, std::string_view text, bool append) {
    if (name.empty()) return false;
    const DWORD attributes = GetFileAttributesA(name.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // A read-only file stays as it is, as opening it for writing would fail.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    // Appending nothing leaves the file as it is, final CR LF included.
    if (exists && append && text.empty()) return true;

    std::uint64_t kept = 0;
    if (exists && append && !KeptLength(name, kept)) return false;
    std::string temp;
    Handle file(CreateTemporary(name, temp));
    if (!file.Valid()) return false;
    bool ok = kept == 0 || CopyPrefix(name, kept, file.get());
    if (ok) ok = WriteAll(file.get(), text);
    ok = file.Close() && ok;
    if (ok) ok = MoveFileExA(temp.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}
