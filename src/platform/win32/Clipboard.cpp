// Clipboard text (CF_TEXT) and pictures (CF_DIB) through the Win32 clipboard.
#include "platform/Clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/gui/DibSurface.h"

namespace {

// The clipboard is held by one process at a time: a few tries, briefly apart.
bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

// Empties the clipboard and puts bytes on it in format.
bool ClipboardSet(UINT format, const std::string& bytes) {
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (data == nullptr) return false;
    char* chars = static_cast<char*>(GlobalLock(data));
    std::memcpy(chars, bytes.data(), bytes.size());
    GlobalUnlock(data);
    if (!OpenClipboardSoon()) {
        GlobalFree(data);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    const bool ok = SetClipboardData(format, data) != nullptr;
    if (!ok) GlobalFree(data);
    CloseClipboard();
    return ok;
}

} // namespace

bool ClipboardAvailable() { return true; }

std::string ClipboardGetText() {
    if (!OpenClipboardSoon()) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text.assign(chars, strnlen(chars, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool ClipboardSetText(const std::string& text) { return ClipboardSet(CF_TEXT, text + '\0'); }

// The picture as a device-independent bitmap, the format every Windows
// program pastes; the system offers it as a bitmap too.
bool ClipboardSetPicture(const RgbImage& picture) {
    return !picture.Empty() && ClipboardSet(CF_DIB, PackedDib(picture));
}
