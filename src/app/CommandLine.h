// The command-line parser: turns CmdLn into the option values and keeps the
// last command line in the settings file.
#pragma once

#include <string>
#include <vector>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/RunState.h"
#include "bindings/KalvexApi.h"

// The option words of a command line, each trimmed, in order. A "/" separates
// them only where it is the first character, follows a blank, is the last
// non-blank character, or follows "'" with a blank after it; a piece whose
// first word holds a "/" is a path and continues the piece before it. Empty
// pieces are left out. Expects the command line with its closing "/".
std::vector<std::string> SplitCommandLine(const std::string& cmdLn);

// True when the command line has /h, which shows the usage screen and ends
// the process that runs it.
bool LineAsksForHelp(const std::string& cmdLn);

// True when the command line has an option that the launcher acts on itself
// before any hand-over, with the numeric library (/rset, /rep, /h, /sf, /w).
bool LineNeedsLibraryFirst(const std::string& cmdLn);

// Parses run.CmdLn into opt: sets only the fields the options name. Appends
// the closing " /" to CmdLn when it does not end with "/". /rset makes the
// library forget its variables and logs it. With /rep, CmdLn is replaced by
// the stored last command line (unchanged when none can be read); otherwise,
// unless /w or /quit is set, CmdLn is stored in settingsPath (a line that
// cannot be stored clears the stored one). Returns true when CmdLn was
// replaced by the stored line.
bool ParseCommandLine(OptionState& opt, RunState& run, LogState& log, const KalvexApi& kx,
                      const std::string& settingsPath);
