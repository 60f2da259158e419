#include "setup/SetupLayout.h"

namespace {

using K = ControlKind;

// Text boxes start empty; the window fills them from the stored values.
// Centred and multi-line boxes of the original layout map to the nearest
// widgets: centred boxes are plain text boxes, multi-line boxes wrap.
constexpr ControlSpec kUpToLog[] = {
    {kHint, K::Label, "Click the button close to textboxes for opening the OpenFile dialog", 10, 1, 355, 15},
    {kInputFrame, K::Frame, "INPUT:", 10, 20, 305, 130},
    {kInputNameLabel, K::Label, "File Name", 25, 40, 105, 15},
    {kInputName, K::MultiLineTextBox, "", 25, 55, 280, 20},
    {kInputButton, K::Button, "- - - ", 265, 40, 40, 15},
    {kOnlyLines, K::CheckBox, "Only Lines (/lns:LineNrs)", 25, 75, 140, 20},
    {kLineNumbers, K::TextBox, "", 165, 75, 140, 20},
    {kClipboardIn, K::CheckBox, "Get text from clipboard (/gclp)", 25, 100, 160, 20},
    {kLineCorrectionLabel, K::Label, "Line correction :-(", 220, 100, 90, 15},
    {kLineCorrection, K::CentredTextBox, "0", 250, 120, 30, 18},
    {kSelectionIn, K::CheckBox, "Get text from selection (/sel:'...'/)", 25, 120, 180, 20},
    {kOutputFrame, K::Frame, "OUTPUT:", 315, 20, 230, 130},
    {kOutputNameLabel, K::Label, "File Name", 325, 40, 105, 15},
    {kOutputName, K::MultiLineTextBox, "", 325, 55, 210, 20},
    {kOutputButton, K::Button, "- - -", 495, 40, 40, 15},
    {kAppend, K::CheckBox, "Append, if file exists", 325, 75, 120, 20},
    {kNoHeader, K::CheckBox, "No Header", 450, 75, 85, 20},
    {kClipboardOut, K::CheckBox, "Copy result to clipboard (/clp)", 325, 100, 170, 20},
    {kDecimalsLabel, K::Label, "decimals (/dec:nr)", 350, 125, 100, 15},
    {kDecimals, K::CentredTextBox, "", 450, 125, 30, 18},
    {kOptionsFrame, K::Frame, "Options: ", 10, 155, 535, 235},
    {kUseCommonPath, K::CheckBox, "Use this Path for all files:", 20, 175, 150, 20},
    {kCommonPath, K::TextBox, "", 175, 175, 315, 20},
    {kCommonPathButton, K::Button, "- - -", 490, 175, 40, 20},
    {kSavePlots, K::CheckBox, "Save Plots (/spl[:Path])", 20, 200, 150, 20},
    {kPlotPath, K::TextBox, "", 175, 200, 315, 20},
    {kPlotPathButton, K::Button, "- - -", 490, 200, 40, 20},
    {kLogToFile, K::CheckBox, "Log to file (/log[:FileName])", 20, 225, 150, 20},
    {kLogFile, K::TextBox, "", 175, 225, 315, 20},
    {kLogButton, K::Button, "- - -", 490, 225, 40, 20},
};

constexpr ControlSpec kFromResident[] = {
    {kResidentFrame, K::Frame, "Terminate Stay Resident Options: ", 20, 255, 220, 70},
    {kResident, K::CheckBox, "Terminate Stay Resident (/tsr[v])", 30, 275, 180, 20},
    {kInvisible, K::OptionButton, "Invisible (/tsr)", 140, 295, 90, 20},
    {kVisible, K::OptionButton, "Visible (/tsrv)", 30, 295, 90, 20},
    {kCmdLine, K::Button, "Cmd Line", 260, 290, 60, 30},
    {kFlags, K::Button, "Flags", 330, 290, 60, 30},
    {kOk, K::Button, "OK", 400, 290, 60, 30},
    {kQuit, K::Button, "Quit", 470, 290, 60, 30},
    {kAbout, K::Button, "About", 260, 260, 60, 20},
    {kReSet, K::Button, "ReSet", 330, 260, 60, 20},
    {kSyntax, K::Button, "Syntax", 400, 260, 60, 20},
    {kOperators, K::Button, "Operators", 470, 260, 60, 20},
    {kShowLastCmdLn, K::CheckBox, "Show last Cmd Line:", 20, 335, 120, 20},
    {kUseIt, K::CheckBox, "Use it!", 40, 355, 100, 20},
    {kCommandLine, K::MultiLineTextBox, "", 140, 330, 390, 50},
};

} // namespace

std::span<const ControlSpec> SetupControlsUpToLog() { return kUpToLog; }
std::span<const ControlSpec> SetupControlsFromResident() { return kFromResident; }
