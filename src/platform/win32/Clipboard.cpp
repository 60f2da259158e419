// Clipboard text (CF_TEXT) through the Win32 clipboard. Pictures come with
// the window parts of the Windows build.
#include "platform/Clipboard.h"

#include <windows.h>

#include <cstring>

namespace {

// The clipboard is held by one process at a time: a few tries, briefly apart.
bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
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

bool ClipboardSetText(const std::string& text) {
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (data == nullptr) return false;
    char* chars = static_cast<char*>(GlobalLock(data));
    std::memcpy(chars, text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    if (!OpenClipboardSoon()) {
        GlobalFree(data);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    const bool ok = SetClipboardData(CF_TEXT, data) != nullptr;
    if (!ok) GlobalFree(data);
    CloseClipboard();
    return ok;
}

bool ClipboardSetPicture(const std::string&) { return false; }
