#pragma once

#include <cstddef>
#include <string>

#include "parser/ScriptEnv.h"

// Runs ProcessScript over scriptText, puts the output header (headerText,
// library release, run time, input file, counters) in front unless NoHF is
// set, replaces scriptText with the final text, sets exitCode to 0, logs the
// counters and returns the final text's length.
std::size_t RunScript(ScriptEnv& env, const std::string& headerText, std::string& scriptText);
