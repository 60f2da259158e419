// The setup window's event loop: what each control does, and how the window
// ends.
#include "setup/SetupWindow.h"

#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/SettingsFile.h"
#include "AuxFunct/TextScreens.h"
#include "platform/Display.h"
#include "platform/FileChooser.h"
#include "platform/Form.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Note.h"
#include "setup/SetupLayout.h"
#include "setup/SetupTransfer.h"

namespace {

const char* const kRequesterTitle = "OpenFile";
// Lines of name and pattern; the chooser shows each name followed by its
// pattern in parentheses. "All files" matches every name, also those without
// a dot.
const char* const kFileFilters = "Kalvex \t*.kvx\nText \t*.txt\nAll files \t*";
// The last command line is shown up to this many characters.
constexpr std::size_t kLastCmdLnShown = 399;

// Closes the message window and resets the log's state, so that the next text
// screen opens a new window.
void ResetMessageWindow(LogState& log) { WriteLogLine(log, "", 0, "", 0, 1); }

// File requester for one of the file fields: a chosen name replaces name; the
// box shows the name either way.
void ChooseFileFor(std::string& name, int box, const SetupState& st, const OptionState& opt) {
    const std::string chosen = ChooseFile(kRequesterTitle, kFileFilters);
    if (!chosen.empty()) name = chosen;
    FormSetText(box, ShownFileName(name, opt.CurDir, st.useCommonPath));
}

void ShowLastCmdLn(const SetupEnv& env) {
    const std::string last = IniRead(env.settingsPath, kSettingsSection, kSettingsKey, "");
    if (!last.empty()) FormSetText(kCommandLine, last.substr(0, kLastCmdLnShown));
}

void ComposeIntoBox(SetupEnv& env) {
    FormSetChecked(kShowLastCmdLn, false);
    FormSetEnabled(kCommandLine, true);
    FormSetChecked(kUseIt, false);
    FormSetEnabled(kUseIt, false);
    ReadControls(env.setup, env.opt);
    TransferOptions(TransferMode::Compose, env.setup, env.opt, env.run);
    FormSetText(kCommandLine, env.run.CmdLn);
}

void ReSet(SetupEnv& env) {
    env.kx.ReSetEqParser();
    env.setup.InpFN.clear();
    FormSetText(kInputName, "");
    env.setup.OutpFN.clear();
    FormSetText(kOutputName, "");
    env.setup.splPath.clear();
    FormSetText(kPlotPath, "");
    env.setup.AppendF = 0;
    FormSetChecked(kAppend, false);
}

// Acts on a press of control id. True when the window was closed.
bool ActOnControl(SetupEnv& env, int id) {
    SetupState& st = env.setup;
    OptionState& opt = env.opt;
    const auto update = [&st] { UpdateEnabledStates(st, true); };
    switch (id) {
    case kClipboardIn: update(); st.getFromClpF = FormChecked(id); break;
    case kSelectionIn: update(); st.getFromSelTextF = FormChecked(id); break;
    case kNoHeader: st.NoHF = FormChecked(id); break;
    case kAppend: update(); st.AppendF = FormChecked(id); break;
    case kClipboardOut: update(); st.SaveToClpBF = FormChecked(id); break;
    case kSavePlots:
        update();
        st.splF = FormChecked(id);
        if (st.splF && (st.splPath == "0" || st.splPath.empty())) st.splPath = opt.CurDir;
        if (st.useCommonPath && st.splF) FormSetText(kPlotPath, st.splPath);
        break;
    case kInvisible: st.tsrF = FormChecked(id); break;
    case kVisible: st.tsrvF = FormChecked(id); break;
    case kResident:
    case kOnlyLines: update(); break;
    case kLogToFile: update(); RefreshFileFields(st, opt); break;
    case kUseCommonPath:
        update();
        st.useCommonPath = FormChecked(id);
        RefreshFileFields(st, opt);
        break;
    case kInputButton: ChooseFileFor(st.InpFN, kInputName, st, opt); break;
    case kOutputButton: ChooseFileFor(st.OutpFN, kOutputName, st, opt); break;
    case kCommonPathButton: {
        const std::string folder = ChooseFolder(kRequesterTitle, opt.CurDir);
        if (!folder.empty()) opt.CurDir = folder;
        FormSetText(kCommonPath, opt.CurDir);
        RefreshFileFields(st, opt);
        break;
    }
    case kPlotPathButton: {
        const std::string folder = ChooseFolder(kRequesterTitle, st.splPath);
        if (!folder.empty()) st.splPath = folder;
        FormSetText(kPlotPath, ShownFileName(st.splPath, opt.CurDir, st.useCommonPath));
        break;
    }
    case kLogButton: {
        // A chosen folder gets the default log name; a cancel gives the
        // default log of the common path.
        const std::string folder = ChooseFolder(kRequesterTitle, FolderPart(st.logFileN));
        st.logFileN = (folder.empty() ? opt.CurDir : folder) + "Tessara.log";
        FormSetText(kLogFile, ShownFileName(st.logFileN, opt.CurDir, st.useCommonPath));
        break;
    }
    case kShowLastCmdLn:
        update();
        st.showLastCmdLn = FormChecked(id);
        if (st.showLastCmdLn) ShowLastCmdLn(env);
        break;
    case kCmdLine: ComposeIntoBox(env); break;
    case kOk:
        if (FormChecked(kShowLastCmdLn) && FormChecked(kUseIt)) {
            env.run.CmdLn = FormText(kCommandLine);
        } else {
            ReadControls(st, opt);
            TransferOptions(TransferMode::Store, st, opt, env.run);
        }
        st.runRequested = 1;
        CloseForm();
        return true;
    case kQuit:
        env.run.CmdLn.clear();
        CloseForm();
        opt.quitF = 1;
        return true;
    case kAbout: {
        const char* about = env.kx.aAbout(1);
        ShowMessageBox("Tessara", about != nullptr ? about : "");
        break;
    }
    case kReSet: ReSet(env); break;
    case kSyntax:
        ResetMessageWindow(env.log);
        ShowSyntax(false, false, env.log);
        break;
    case kFlags:
        ResetMessageWindow(env.log);
        ShowFlags(opt, false, env.log);
        break;
    case kOperators:
        ResetMessageWindow(env.log);
        ShowOperators(env.kx, false, env.log);
        break;
    default: break;
    }
    return false;
}

} // namespace

void SetupEventLoop(SetupEnv& env) {
    for (;;) {
        const FormEvent event = WaitFormEvent();
        switch (event.kind) {
        case FormEventKind::Escape:
            env.setup.runRequested = 0;
            CloseForm();
            return;
        case FormEventKind::Close:
            CloseForm();
            return;
        case FormEventKind::MessageWindowClose:
            ResetMessageWindow(env.log);
            break;
        case FormEventKind::Control:
            if (ActOnControl(env, event.id)) return;
            break;
        }
    }
}

SetupOutcome RunSetupWindow(SetupEnv& env) {
    if (!DisplayAvailable() || !OpenSetupWindow(env)) {
        Note("no display; the setup window \"Tessara Setup\" is not shown, the run goes on");
        return SetupOutcome::GoOn;
    }
    SetupEventLoop(env);
    if (env.setup.runRequested) return SetupOutcome::Run;
    return env.opt.quitF ? SetupOutcome::Quit : SetupOutcome::GoOn;
}
