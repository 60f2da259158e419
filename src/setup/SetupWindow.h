// The setup window "Tessara Setup": a form that edits the setup window's copy
// of the option values and composes a command line from it.
#pragma once

#include "setup/SetupEnv.h"

// Loads the options into env.setup, clears runRequested and opens the window
// with every control in its initial state. False when no window can be
// opened (no display).
bool OpenSetupWindow(SetupEnv& env);

// Enables and disables the controls that depend on the check boxes: read from
// the check boxes with fromControls, else from the flags of st (only the
// "Only Lines" box is always read from the window).
void UpdateEnabledStates(const SetupState& st, bool fromControls);

// Sets the check boxes from st.
void ApplyStoredChecks(const SetupState& st);

// Sets the text boxes from st; with plots saved into no folder yet, the plot
// path becomes CurDir.
void ApplyStoredTexts(SetupState& st, const OptionState& opt);

// Takes the editable boxes (numbers, line numbers, log, plots, header,
// resident, append) into st.
void ReadControls(SetupState& st, const OptionState& opt);

// Shows the four file fields relative to CurDir while st.useCommonPath is set
// and rebuilds the full names from what the fields show.
void RefreshFileFields(SetupState& st, const OptionState& opt);

// Serves the window until "OK", "Quit", Escape or its close box ends it.
void SetupEventLoop(SetupEnv& env);

enum class SetupOutcome {
    Run,    // "OK": run CmdLn
    Quit,   // "Quit": end the program with 0
    GoOn,   // closed otherwise: the run goes on with the options as they stand
};

// The /w step of the run driver: opens the window and serves it. Without a
// display a note goes to standard error and the outcome is GoOn.
SetupOutcome RunSetupWindow(SetupEnv& env);
