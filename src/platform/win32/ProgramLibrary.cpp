// The libraries of the program through LoadLibraryA: by plain name, the
// loader looks in the program's own folder first.
#include "platform/ProgramLibrary.h"

#include <windows.h>

namespace {

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

} // namespace

void* OpenProgramLibrary(const char* name, std::string& error) {
    // No "cannot find the file" dialog of the system for a missing library.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(name);
    if (library == nullptr) error = LastErrorText();
    SetErrorMode(oldMode);
    return reinterpret_cast<void*>(library);
}

void* ProgramLibraryFunction(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
