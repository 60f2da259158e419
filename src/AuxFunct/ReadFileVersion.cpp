#include "AuxFunct/ReadFileVersion.h"

#include "bindings/KalvexApi.h"

std::string ReadFileVersion(const KalvexApi& kx) {
    if (kx.KalvexVersion == nullptr) return {};
    const char* version = kx.KalvexVersion();
    return version != nullptr ? version : "";
}
