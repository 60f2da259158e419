#include "setup/SetupWindow.h"

#include "AuxFunct/TextUtil.h"
#include "platform/Form.h"
#include "setup/SetupLayout.h"
#include "setup/SetupTransfer.h"

namespace {

void Enable(int id, bool enabled) { FormSetEnabled(id, enabled); }

// The prefix of the file names while the common path is in use.
std::string CommonPrefix(const SetupState& st, const OptionState& opt) {
    return st.useCommonPath ? opt.CurDir : std::string();
}

} // namespace

bool OpenSetupWindow(SetupEnv& env) {
    SetupState& st = env.setup;
    TransferOptions(TransferMode::Load, st, env.opt, env.run);
    st.runRequested = 0;
    if (!OpenForm(kSetupTitle, kSetupX, kSetupY, kSetupWidth, kSetupHeight)) return false;
    AddFormControls(SetupControlsUpToLog());
    FormSetText(kDecimals, std::to_string(st.decimals));
    if (!env.opt.CurDir.empty()) st.useCommonPath = 1;
    AddFormControls(SetupControlsFromResident());
    // The enabled states come from the stored flags, before the boxes are
    // ticked: "Only Lines" is still clear, so its two boxes start disabled.
    UpdateEnabledStates(st, false);
    ApplyStoredChecks(st);
    ApplyStoredTexts(st, env.opt);
    ShowForm();
    return true;
}

void UpdateEnabledStates(const SetupState& st, bool fromControls) {
    const auto state = [fromControls](int box, std::int8_t flag) { return fromControls ? FormChecked(box) : flag != 0; };
    const bool clipboardIn = state(kClipboardIn, st.getFromClpF);
    const bool selectionIn = state(kSelectionIn, st.getFromSelTextF);
    const bool onlyLines = FormChecked(kOnlyLines);
    const bool fromFile = !clipboardIn && !selectionIn;
    Enable(kInputName, fromFile);
    Enable(kOnlyLines, fromFile);
    Enable(kLineNumbers, onlyLines && fromFile);
    Enable(kLineCorrection, onlyLines && fromFile);
    Enable(kClipboardIn, !selectionIn);
    Enable(kSelectionIn, !clipboardIn);

    const bool clipboardOut = state(kClipboardOut, st.SaveToClpBF);
    Enable(kOutputName, !clipboardOut);
    Enable(kAppend, !clipboardOut);

    const bool savePlots = state(kSavePlots, st.splF);
    Enable(kPlotPath, savePlots);
    Enable(kPlotPathButton, savePlots);

    const bool resident = state(kResident, st.tsrvF);
    Enable(kInvisible, resident);
    Enable(kVisible, resident);
    if (resident && !FormChecked(kInvisible) && !FormChecked(kVisible)) FormSetChecked(kVisible, true);

    const bool logToFile = state(kLogToFile, st.logF);
    Enable(kLogFile, logToFile);
    Enable(kLogButton, logToFile);

    const bool commonPath = state(kUseCommonPath, st.useCommonPath);
    Enable(kCommonPath, commonPath);
    Enable(kCommonPathButton, commonPath);

    const bool lastCmdLn = state(kShowLastCmdLn, st.showLastCmdLn);
    Enable(kCommandLine, lastCmdLn);
    Enable(kUseIt, lastCmdLn);
}

void ApplyStoredChecks(const SetupState& st) {
    FormSetChecked(kClipboardIn, st.getFromClpF);
    FormSetChecked(kSelectionIn, st.getFromSelTextF);
    FormSetChecked(kOnlyLines, st.lnsF);
    FormSetChecked(kClipboardOut, st.SaveToClpBF);
    FormSetChecked(kAppend, st.AppendF);
    FormSetChecked(kNoHeader, st.NoHF);
    FormSetChecked(kSavePlots, st.splF);
    const bool resident = st.tsrF || st.tsrvF;
    FormSetChecked(kResident, resident);
    // The option buttons show no stored choice: "Visible" is the default.
    if (resident && !FormChecked(kInvisible) && !FormChecked(kVisible)) FormSetChecked(kVisible, true);
    FormSetChecked(kLogToFile, st.logF);
    FormSetChecked(kUseCommonPath, st.useCommonPath);
    FormSetChecked(kShowLastCmdLn, st.showLastCmdLn);
}

void ApplyStoredTexts(SetupState& st, const OptionState& opt) {
    FormSetText(kInputName, ShownFileName(st.InpFN, opt.CurDir, st.useCommonPath));
    FormSetText(kLineNumbers, st.LnsStr);
    FormSetText(kOutputName, ShownFileName(st.OutpFN, opt.CurDir, st.useCommonPath));
    if (st.splF && (st.splPath == "0" || st.splPath.empty())) st.splPath = opt.CurDir;
    FormSetText(kPlotPath, st.splPath);
    FormSetText(kLogFile, st.logFileN);
    FormSetText(kCommonPath, opt.CurDir);
    FormSetText(kLineCorrection, std::to_string(st.lineCorrection));
}

void ReadControls(SetupState& st, const OptionState& opt) {
    st.lineCorrection = IntegerValue(FormText(kLineCorrection));
    st.lineCorrectionF = st.lineCorrection != 0;
    st.decimals = IntegerValue(FormText(kDecimals));
    st.lnsF = FormChecked(kOnlyLines);
    st.LnsStr = FormText(kLineNumbers);
    if (st.LnsStr.empty()) st.lnsF = 0;
    // The log and plot boxes may show their names relative to the common
    // path: the full names are rebuilt as the file fields are.
    const std::string prefix = CommonPrefix(st, opt);
    st.logF = FormChecked(kLogToFile);
    const std::string logText = FormText(kLogFile);
    st.logFileN = logText.empty() ? std::string() : FullFileName(logText, prefix);
    if (st.logFileN.empty()) st.logF = 0;
    st.SaveToClpBF = FormChecked(kClipboardOut);
    st.splF = FormChecked(kSavePlots);
    const std::string plotText = FormText(kPlotPath);
    st.splPath = plotText.empty() ? opt.CurDir : FullFileName(plotText, prefix);
    st.NoHF = FormChecked(kNoHeader);
    st.tsrF = FormChecked(kResident) && FormChecked(kInvisible);
    st.tsrvF = FormChecked(kResident) && FormChecked(kVisible);
    st.AppendF = FormChecked(kAppend);
}

void RefreshFileFields(SetupState& st, const OptionState& opt) {
    const std::string prefix = CommonPrefix(st, opt);
    const auto refresh = [&](std::string& name, int box) {
        FormSetText(box, ShownFileName(name, opt.CurDir, st.useCommonPath));
        name = FullFileName(FormText(box), prefix);
    };
    if (!st.InpFN.empty()) refresh(st.InpFN, kInputName);
    if (!st.OutpFN.empty()) refresh(st.OutpFN, kOutputName);
    if (!st.logFileN.empty()) refresh(st.logFileN, kLogFile);
    refresh(st.splPath, kPlotPath);
}
