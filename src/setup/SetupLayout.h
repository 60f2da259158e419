// The controls of the setup window "Tessara Setup": their ids, kinds,
// captions and places.
#pragma once

#include <span>

#include "platform/Form.h"

enum SetupControl : int {
    kAbout = 2,
    kCmdLine = 3,
    kClipboardIn = 4,
    kSelectionIn = 5,
    kNoHeader = 6,
    kFlags = 9,
    kLineCorrectionLabel = 10,
    kLineCorrection = 11,
    kInputFrame = 12,
    kOutputFrame = 13,
    kInputNameLabel = 14,
    kInputName = 15,
    kOutputName = 16,
    kOutputNameLabel = 17,
    kAppend = 18,
    kClipboardOut = 19,
    kSavePlots = 20,
    kPlotPath = 21,
    kResidentFrame = 22,
    kOptionsFrame = 23,
    kInvisible = 24,
    kVisible = 25,
    kDecimalsLabel = 26,
    kDecimals = 27,
    kResident = 28,
    kOnlyLines = 29,
    kLineNumbers = 30,
    kLogToFile = 31,
    kLogFile = 32,
    kQuit = 33,
    kOk = 34,
    kSyntax = 36,
    kOperators = 37,
    kUseCommonPath = 38,
    kCommonPath = 39,
    kHint = 40,
    kInputButton = 42,
    kOutputButton = 43,
    kCommonPathButton = 44,
    kPlotPathButton = 45,
    kLogButton = 46,
    kReSet = 47,
    kShowLastCmdLn = 48,
    kCommandLine = 49,
    kUseIt = 50,
};

inline constexpr const char* kSetupTitle = "Tessara Setup";
inline constexpr int kSetupX = 377, kSetupY = 6, kSetupWidth = 551, kSetupHeight = 393;

// The controls in creation order: the ones from the hint line down to the
// "Log to file" line, then the ones from the resident frame on.
std::span<const ControlSpec> SetupControlsUpToLog();
std::span<const ControlSpec> SetupControlsFromResident();
