// The file and folder requesters of the Windows build: the common open-file
// dialog (GetOpenFileNameA) and the shell's folder browser
// (SHBrowseForFolderA), both owned by the active window of the program.
// Neither leaves the process's current folder changed.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/gui/WindowsGui.h"

namespace {

// Keeps the current folder of the process and puts it back on destruction:
// the open-file dialog moves it whatever its flags say.
class KeepCurrentFolder {
public:
    KeepCurrentFolder() {
        saved_.resize(GetCurrentDirectoryA(0, nullptr));
        saved_.resize(GetCurrentDirectoryA(static_cast<DWORD>(saved_.size()), saved_.data()));
    }
    ~KeepCurrentFolder() {
        if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
    }
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    std::string saved_;
};

// The dialog's filter list from lines of "name\tpattern": each name shown
// with its pattern in parentheses, "*" written the Windows way as "*.*";
// entries end with a NUL, the list with a second one.
std::string DialogFilters(const char* filters) {
    std::string list;
    std::string rest = filters;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string line = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string pattern = line.substr(tab + 1);
        if (pattern == "*") pattern = "*.*";
        list += line.substr(0, tab) + "(" + pattern + ")";
        list += '\0';
        list += pattern;
        list += '\0';
    }
    list += '\0';
    return list;
}

struct FolderStart {
    const char* title;
    std::string folder;
};

// The browser is titled as asked and opens at the start folder.
int CALLBACK OnBrowserEvent(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED) return 0;
    const auto* start = reinterpret_cast<const FolderStart*>(data);
    SetWindowTextA(hwnd, start->title);
    if (!start->folder.empty()) SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start->folder.c_str()));
    return 0;
}

// folder without its closing "\", except where it is a drive's root ("C:\").
std::string WithoutClosingSeparator(std::string folder) {
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

} // namespace

namespace win32gui {

std::string ChooseFile(const char* title, const char* filters) {
    const KeepCurrentFolder keep;
    const std::string filterList = DialogFilters(filters);
    std::string name(32768, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filterList.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title;
    // No OFN_FILEMUSTEXIST: the name of a file to be made is taken too.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return {};
    name.resize(name.find('\0'));
    return name;
}

std::string ChooseFolder(const char* title, const std::string& startFolder) {
    const KeepCurrentFolder keep;
    FolderStart start{title, WithoutClosingSeparator(startFolder)};
    BROWSEINFOA browser{};
    browser.hwndOwner = GetActiveWindow();
    browser.lpszTitle = title;
    browser.ulFlags = BIF_RETURNONLYFSDIRS;
    browser.lpfn = OnBrowserEvent;
    browser.lParam = reinterpret_cast<LPARAM>(&start);
    const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browser);
    if (chosen == nullptr) return {};
    char path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (!named || path[0] == '\0') return {};
    std::string folder = path;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

} // namespace win32gui
