// The records a script run needs, owned by one test, with a library table of
// their own that the test fills with fakes as it needs.
#pragma once

#include <cstdlib>

#include "ScriptRecords.h"

struct OwnKalvexTable {
    KalvexApi kx{};
};

struct ScriptTestEnv : OwnKalvexTable, ScriptRecords {
    ScriptTestEnv() : ScriptRecords(kx) {
        // Message boxes go to standard error instead of waiting for a click.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
};
