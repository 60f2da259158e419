// The record of every value that a command-line option sets. One instance
// lives for the whole process; the parser only sets the fields an option
// names and never resets the record as a whole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The indices of OptionState::optionsGiven.
enum OptionGiven : std::size_t {
    kGivenInput = 0,            // /i; cleared by /gclp and /sel
    kGivenOutput = 1,           // /o, /a; cleared by /sclp
    kGivenClipboardOutput = 2,  // /sclp
    kGivenLines = 3,            // /lns
    kGivenPlotPath = 4,         // /spl: plot windows are saved and closed
    kGivenResidentVisible = 5,  // /tsrv
    kGivenResident = 6,         // /tsr, /quit
    kGivenReset = 7,            // /rset
    kGivenDecimals = 8,         // /dec
    kGivenLog = 9,              // /log
    kGivenDelete = 11,          // /del (10 is never set)
    kGivenNoHeader = 12,        // /noh
    kGivenClipboardInput = 13,  // /gclp
    kGivenSelection = 14,       // /sel
    kOptionsGivenCount = 15,
};

struct OptionState {
    std::string InpFN;
    std::int8_t lnsF = 0;
    std::string LnsStr;
    std::int8_t getFromClpF = 0;
    std::int8_t getFromSelTextF = 0;
    std::string OutpFN;
    std::int8_t AppendF = 0;
    std::int8_t NoHF = 0;
    std::int8_t SaveToClpBF = 0;
    std::int32_t decimals = 4;
    std::string CurDir;
    std::int8_t splF = 0;
    std::string splPath;
    // splPath is as the run preparation left it: cleared wherever an option
    // sets splPath, so that a path the preparation made empty (clipboard
    // only) stays empty in later runs instead of being read as "0".
    std::int8_t splPathReadyF = 0;
    std::int8_t logF = 0;
    std::string logFileN;
    std::int8_t tsrF = 0;
    std::int8_t tsrvF = 0;
    std::int8_t rsetF = 0;
    std::int8_t quitF = 0;
    std::int8_t syncF = 0; // a launcher waits for the resident instance's run of its line
    std::int8_t delF = 0;
    std::int8_t InpF = 0;
    std::string selText;
    std::int32_t lineCorrection = 0;
    std::int8_t lineCorrectionF = 0;
    std::int8_t repF = 0;
    std::int8_t helpF = 0;
    std::int8_t showFlagsF = 0;
    std::int8_t setupF = 0;
    // Which options the command lines named, at the fixed indices below.
    std::array<std::int8_t, kOptionsGivenCount> optionsGiven{};
};
