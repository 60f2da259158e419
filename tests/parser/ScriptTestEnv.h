// The records a script run needs, owned by one test.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "aPlot/PlotModel.h"
#include "bindings/KalvexApi.h"
#include "parser/ScriptEnv.h"

struct ScriptTestEnv {
    ScriptTestEnv() {
        // Message boxes go to standard error instead of waiting for a click.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    KalvexApi kx{};
    OptionState opt{};
    std::int32_t exitCode = 0;
    LogState log{};
    PlotState plots{};
    std::string startDir;
    ScriptEnv env{kx, opt, exitCode, log, plots, startDir};
};
