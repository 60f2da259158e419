// The libraries of the program through LoadLibraryA: by plain name, the
// loader looks in the program's own folder first.
#include "platform/ProgramLibrary.h"

#include <windows.h>

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
