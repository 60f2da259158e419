// The records a script run reads and writes, owned together by a run outside
// the program (tests, benchmarks, fuzz targets), with the ScriptEnv that hands
// them to ProcessScript and RunScript.
#pragma once

#include <cstdint>
#include <string>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "aPlot/PlotModel.h"
#include "bindings/KalvexApi.h"
#include "parser/ScriptEnv.h"

struct ScriptRecords {
    explicit ScriptRecords(const KalvexApi& kx) : env{kx, opt, exitCode, log, plots, startDir} {}
    // env refers to the members: a copy would refer to the original's.
    ScriptRecords(const ScriptRecords&) = delete;
    ScriptRecords& operator=(const ScriptRecords&) = delete;

    OptionState opt;
    std::int32_t exitCode = 0;
    LogState log;
    PlotState plots;
    std::string startDir; // folder of relative point-table names, ending in "/"
    ScriptEnv env;
};
