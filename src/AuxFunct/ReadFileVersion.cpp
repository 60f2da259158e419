#include "AuxFunct/ReadFileVersion.h"

#include "bindings/KalvexApi.h"
#include "platform/PlatformConventions.h"
#include "platform/ProgramLibrary.h"

std::string ReadFileVersion(const KalvexApi& kx) {
    // The library file's version resource, where the platform has them,
    // read by the plain name so that it is the file start-up loaded.
    if (auto resource = LibraryFileVersion(kKalvexLibraryFile)) return *resource;
    if (kx.KalvexVersion == nullptr) return {};
    const char* version = kx.KalvexVersion();
    return version != nullptr ? version : "";
}
