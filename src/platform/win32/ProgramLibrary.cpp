// The libraries of the program through LoadLibraryA: by plain name, the
// loader looks in the program's own folder first.
#include "platform/ProgramLibrary.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/win32/SystemError.h"

void* OpenProgramLibrary(const char* name, std::string& error) {
    // No "cannot find the file" dialog of the system for a missing library.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(name);
    if (library == nullptr) error = SystemErrorText(GetLastError());
    SetErrorMode(oldMode);
    return reinterpret_cast<void*>(library);
}

void* ProgramLibraryFunction(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::optional<std::string> LibraryFileVersion(const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &ignored);
    if (size < 1) return std::string();
    std::vector<char> data(size + 1);
    if (!GetFileVersionInfoA(name, 0, size + 1, data.data())) {
        ShowMessageBox("", std::to_string(GetLastError()));
        return std::string();
    }
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info)
        return std::string();
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}
