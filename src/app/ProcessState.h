// The records the process owns, one instance each, handed to the steps of
// the run driver.
#pragma once

#include <cstdint>
#include <string>

#include "aPlot/PlotModel.h"
#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/RunState.h"
#include "bindings/KalvexApi.h"
#include "setup/SetupState.h"

struct ProcessState {
    OptionState opt;
    RunState run;
    LogState log;
    KalvexApi kx;
    SetupState setup;
    PlotState plots;
    std::string settingsPath; // the settings file that keeps the last command line
    std::int8_t residentF = 0; // this process is the resident instance: it owns the mailbox
};
