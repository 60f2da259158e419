// Moving option values between the options and the setup window's copy, and
// composing a command line from that copy. Needs no window.
#pragma once

#include <string>

#include "AuxFunct/OptionState.h"
#include "AuxFunct/RunState.h"
#include "setup/SetupState.h"

enum class TransferMode { Store = 0, Load = 1, Compose = -1 };

// Load: copies the options into st; CurDir becomes startDir (or the current
// folder), and an empty plot path or log name gets its default in CurDir.
// Store: copies st back into the options (startDir becomes CurDir), then
// composes. Compose: run.CmdLn becomes the command line of st.
void TransferOptions(TransferMode mode, SetupState& st, OptionState& opt, RunState& run);

// The command line of st, every option followed by one blank; empty when st
// asks for nothing beyond the defaults.
std::string ComposeCommandLine(const SetupState& st);

// The text a file field shows for fullName: relative to folder when
// useCommonPath is set and the name lies in it, else the name unchanged.
std::string ShownFileName(const std::string& fullName, const std::string& folder, bool useCommonPath);

// The full name for the text of a file field: prefix + shown, or shown itself
// when it is already absolute.
std::string FullFileName(const std::string& shown, const std::string& prefix);
