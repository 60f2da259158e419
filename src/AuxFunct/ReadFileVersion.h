#pragma once

#include <string>

struct KalvexApi;

// The file version of the numeric library, four numbers joined by points
// ("1.0.0.0"): from the library file's version resource on Windows, as the
// loaded library reports it on Linux; empty when there is none.
std::string ReadFileVersion(const KalvexApi& kx);
