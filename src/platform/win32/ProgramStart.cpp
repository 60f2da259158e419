#include "platform/ProgramStart.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

std::vector<std::string> ProgramArguments(int, char**) {
    // Result blocks carry their own CR LF: no stream may add another.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The program name ends at its closing quote, or else at the first blank.
    const char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
    }
    // The blanks that separate it from the arguments are no part of them; a
    // line with nothing after the name has no arguments (the usage screen).
    while (*line == ' ' || *line == '\t') ++line;
    if (*line == '\0') return {};
    return {line};
}
