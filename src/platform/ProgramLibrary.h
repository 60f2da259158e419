// Opening the shared libraries that come with the program. They lie beside
// it in the build folder, and in ../lib of an installed tree.
#pragma once

#include <optional>
#include <string>

// Opens the library file name (bound at once, its names kept to itself) by
// its plain name, so that the loader's search order applies, including the
// program's run path. A dlopen intercepted by a sanitizer runtime searches
// that runtime's run path instead, so the program's folder and ../lib are
// then tried by name. Returns the handle, or nullptr with the loader's
// reason in error.
void* OpenProgramLibrary(const char* name, std::string& error);

// The address of the function name that the opened library exports, or
// nullptr when it exports none of that name.
void* ProgramLibraryFunction(void* library, const char* name);

// The file version ("1.2.0.35") in the version resource of the library file
// name, found by its plain name as OpenProgramLibrary finds it; empty when
// the file has no version resource or it cannot be read (a message box
// then shows the system's error number). No value where library files carry
// no version resource (Linux): the library itself is asked then.
std::optional<std::string> LibraryFileVersion(const char* name);
