// What the setup window needs from the rest of the program: the records it
// reads and changes, handed over by the run driver.
#pragma once

#include <string>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/RunState.h"
#include "bindings/KalvexApi.h"
#include "setup/SetupState.h"

struct SetupEnv {
    OptionState& opt;  // loaded into the window's copy; "OK" stores it back, "Quit" sets quitF
    RunState& run;     // startDir, and the CmdLn that "OK" composes
    SetupState& setup; // the window's copy of the option values
    LogState& log;     // the message window of the text screens
    KalvexApi& kx;     // "ReSet", "About" and the operators screen
    const std::string& settingsPath; // where the last command line is kept
};
