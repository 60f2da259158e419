// What the script processor needs from the rest of the program.
#pragma once

#include <cstdint>
#include <string>

struct KalvexApi;
struct OptionState;
struct LogState;
struct PlotState;

struct ScriptEnv {
    const KalvexApi& kx;
    OptionState& opt;      // decimals, optionsGiven, lnsF, LnsStr (shortened by a run), lineCorrection
    std::int32_t& exitCode; // status of file operations; 0 at the start of every line
    LogState& log;
    PlotState& plots;            // the plots of the run and their windows
    const std::string& startDir; // folder of relative point-table names
};
