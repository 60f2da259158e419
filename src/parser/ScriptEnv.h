// What the script processor needs from the rest of the program.
#pragma once

#include <cstdint>

struct KalvexApi;
struct OptionState;
struct LogState;

struct ScriptEnv {
    const KalvexApi& kx;
    OptionState& opt;      // decimals, optionsGiven, lnsF, LnsStr (shortened by a run), lineCorrection
    std::int32_t& exitCode; // status of file operations; 0 at the start of every line
    LogState& log;
};
