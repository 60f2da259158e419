#include "setup/SetupTransfer.h"

#include "AuxFunct/ResolvePath.h"

namespace {

// The fields that the options and the setup window's copy share under the
// same names, copied one way or the other. lnsF is never copied: the window
// keeps its own; the plot path and the log name get their defaults from the
// caller.
template <typename From, typename To>
void CopySharedFields(const From& from, To& to) {
    to.InpFN = from.InpFN;
    to.OutpFN = from.OutpFN;
    to.LnsStr = from.LnsStr;
    to.splF = from.splF;
    to.logF = from.logF;
    to.decimals = from.decimals;
    to.tsrF = from.tsrF;
    to.tsrvF = from.tsrvF;
    to.AppendF = from.AppendF;
    to.SaveToClpBF = from.SaveToClpBF;
    to.rsetF = from.rsetF;
    to.quitF = from.quitF;
    to.delF = from.delF;
    to.getFromClpF = from.getFromClpF;
    to.getFromSelTextF = from.getFromSelTextF;
    to.selText = from.selText;
    to.NoHF = from.NoHF;
    to.lineCorrectionF = from.lineCorrectionF;
    to.lineCorrection = from.lineCorrection;
}

std::string OrDefault(const std::string& value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

std::string DefaultLogName(const std::string& folder) { return ResolvePath("Tessara.log", folder); }

} // namespace

void TransferOptions(TransferMode mode, SetupState& st, OptionState& opt, RunState& run) {
    if (mode == TransferMode::Load) {
        opt.CurDir = OrDefault(run.startDir, CurrentFolder());
        CopySharedFields(opt, st);
        st.splPath = OrDefault(opt.splPath, opt.CurDir);
        st.logFileN = OrDefault(opt.logFileN, DefaultLogName(opt.CurDir));
        return;
    }
    if (mode == TransferMode::Store) {
        run.startDir = OrDefault(opt.CurDir, CurrentFolder());
        CopySharedFields(st, opt);
        opt.splPath = OrDefault(st.splPath, opt.CurDir);
        opt.splPathReadyF = 0; // the run preparation makes the new path a folder again
        opt.logFileN = OrDefault(st.logFileN, DefaultLogName(opt.CurDir));
    }
    run.CmdLn = ComposeCommandLine(st);
}

std::string ComposeCommandLine(const SetupState& st) {
    const bool fromFile = !st.getFromClpF && !st.getFromSelTextF;
    std::string line;
    // The reset comes first: later in the line it would clear the input and
    // output names and the input source given before it.
    if (st.rsetF) line += "/rset ";
    if (!st.InpFN.empty() && fromFile) line += "/i " + st.InpFN + " ";
    if (!st.OutpFN.empty() && !st.SaveToClpBF) line += (st.AppendF ? "/a " : "/o ") + st.OutpFN + " ";
    if (st.getFromClpF) line += "/gclp ";
    // The blank keeps the next option from being read as part of the selection.
    if (st.getFromSelTextF) line += "/sel ";
    if (st.SaveToClpBF) line += "/sclp ";
    if (st.lnsF && fromFile) {
        line += "/lns" + (st.LnsStr.empty() ? "" : ":" + st.LnsStr) + " ";
        if (st.lineCorrectionF && st.lineCorrection != 0) line += "/lc:" + std::to_string(st.lineCorrection) + " ";
    }
    if (st.splF) line += "/spl" + (st.splPath.empty() ? "" : ":" + st.splPath) + " ";
    if (st.tsrF || st.tsrvF) line += st.tsrF ? "/tsr " : "/tsrv ";
    if (st.decimals != 4) line += "/dec:" + std::to_string(st.decimals) + " ";
    if (st.NoHF) line += "/noh ";
    if (st.logF) line += "/log" + (st.logFileN.empty() ? "" : ":" + st.logFileN) + " ";
    if (st.quitF) line += "/quit ";
    return line;
}

std::string ShownFileName(const std::string& fullName, const std::string& folder, bool useCommonPath) {
    // Only a leading folder is left out: the name is rebuilt as folder + the
    // shown text, which must give back the same file.
    if (!useCommonPath || folder.empty() || !fullName.starts_with(folder)) return fullName;
    return fullName.substr(folder.size());
}

std::string FullFileName(const std::string& shown, const std::string& prefix) {
    return IsAbsoluteName(shown) ? shown : prefix + shown;
}
