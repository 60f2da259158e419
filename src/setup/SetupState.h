// The setup window's copy of the option values. One instance lives for the
// whole process, so a second opening of the window starts from what the first
// one left, except for the fields that are reloaded from the options.
#pragma once

#include <cstdint>
#include <string>

struct SetupState {
    std::string InpFN;
    std::string OutpFN;
    std::string LnsStr;
    std::int8_t lnsF = 0; // not reloaded: kept from the last opening
    std::int32_t lineCorrection = 0;
    std::int8_t lineCorrectionF = 0;
    std::int8_t getFromClpF = 0;
    std::int8_t getFromSelTextF = 0;
    std::string selText;
    std::int8_t AppendF = 0;
    std::int8_t NoHF = 0;
    std::int8_t SaveToClpBF = 0;
    std::int32_t decimals = 0;
    std::int8_t useCommonPath = 0; // file names are shown relative to CurDir
    std::int8_t splF = 0;
    std::string splPath;
    std::int8_t logF = 0;
    std::string logFileN;
    std::int8_t tsrF = 0;  // resident, invisible
    std::int8_t tsrvF = 0; // resident, visible
    std::int8_t rsetF = 0;
    std::int8_t quitF = 0;
    std::int8_t delF = 0;
    std::int8_t showLastCmdLn = 0;
    std::int8_t runRequested = 0; // "OK" asks the run driver to run CmdLn
};
