#include "platform/ProgramLibrary.h"

#include <dlfcn.h>

#include <filesystem>

namespace {

constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;

std::string LoaderError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

} // namespace

void* ProgramLibraryFunction(void* library, const char* name) { return dlsym(library, name); }

std::optional<std::string> LibraryFileVersion(const char*) { return std::nullopt; }

void* OpenProgramLibrary(const char* name, std::string& error) {
    if (void* library = dlopen(name, kOpenFlags)) return library;
    error = LoaderError();
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return nullptr;
    for (const char* folder : {".", "../lib"}) {
        const std::filesystem::path candidate = program.parent_path() / folder / name;
        if (void* library = dlopen(candidate.c_str(), kOpenFlags)) return library;
        // A file that is there but does not load says more than a search that found nothing.
        if (std::filesystem::exists(candidate, ec)) error = LoaderError();
    }
    return nullptr;
}
