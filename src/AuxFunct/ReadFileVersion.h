#pragma once

#include <string>

struct KalvexApi;

// The file version of the numeric library, four numbers joined by points
// ("1.0.0.0"), as the loaded library reports it; empty when it reports none.
std::string ReadFileVersion(const KalvexApi& kx);
