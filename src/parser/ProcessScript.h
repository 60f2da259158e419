#pragma once

#include <string>

#include "parser/ScriptEnv.h"

struct ProcessResult {
    std::string processed; // copied lines and result blocks
    int commandCount = 0;  // statement lines dispatched
    int errorCount = 0;    // statements whose result is an error text
};

// Closes the plot windows of the previous run, cuts the script into lines, copies, drops or dispatches each line and
// returns the processed text with the two run counters.
ProcessResult ProcessScript(const std::string& scriptText, ScriptEnv& env);
