// The steps of a run: preparation of the names, the log block, the input,
// the script run with its output, and the messages that close a run.
#pragma once

#include <string>
#include <vector>

#include "app/ProcessState.h"

// The program's arguments joined by single blanks.
std::string JoinArguments(const std::vector<std::string>& args);

// The plot path as screenshots use it: "0" for none ("", "0", "-1"); a path
// that names an existing folder, with "/" at its end; else its folder part
// (a bare word gives the empty path, the current folder).
std::string NormalisePlotPath(const std::string& splPath);

// Resolves the log, input and output names against startDir, moves to the
// input file's folder, normalises the plot path and, for a run that was not
// received while resident, writes the log block.
void PrepareRun(ProcessState& ps);

enum class InputOutcome {
    Ready,      // scriptText holds the script, headerText the header
    NoSource,   // the command line names no input source
    Unreadable, // the input file could not be read (said on standard error and in a box; exitCode is -2)
};

// Places the script of the run's input source in scriptText and prepares the
// header.
InputOutcome ObtainInput(ProcessState& ps);

// Deletes the old outputs with /del, runs the script, delivers the output to
// the output file or the clipboard and logs the completion line.
void RunAndDeliver(ProcessState& ps);

// Logs that no input source was named; without resident mode the exit code
// becomes -5 and standard error says why.
void ReportNoInput(ProcessState& ps);

// Logs that the input file could not be read. Nothing is run then and no
// output is written, so that the last good output survives and the failure
// is not taken for a successful run; exitCode stays -2.
void ReportUnreadableInput(ProcessState& ps);

// The completion line of run number runCount.
std::string CompletionLine(int runCount, bool received);

// Removes this program's screenshots (aPlotNr_<number>.jpg) from folder
// (empty: the current folder); failures are ignored.
void DeletePlotScreenshots(const std::string& folder);
