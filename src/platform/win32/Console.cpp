// The console screens of a GUI-subsystem program: through the standard
// handles when the program has them (a console, a pipe, a file), which keep
// the text, else in a console window of its own for the time of the screen,
// which waits for an answer before it goes.
#include "platform/Console.h"

#include <windows.h>

#include <iostream>

namespace {

bool HasStandardOutput() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN;
}

} // namespace

void ShowConsoleScreen(const std::string& text) {
    if (HasStandardOutput()) {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
        return;
    }
    if (!AllocConsole()) return;
    const HANDLE output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    const HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    DWORD done = 0;
    WriteConsoleA(output, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    char answer[4096];
    ReadConsoleA(input, answer, sizeof answer, &done, nullptr);
    CloseHandle(input);
    CloseHandle(output);
    FreeConsole();
}
