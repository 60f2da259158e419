#include "app/RunDriver.h"

#include <cstdio>

#include "AuxFunct/StatusCodes.h"
#include "app/CommandLine.h"
#include "app/ProcessState.h"
#include "app/Resident.h"
#include "app/RunSteps.h"
#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/SettingsFile.h"
#include "AuxFunct/TextScreens.h"
#include "platform/MailboxClient.h"
#include "platform/MessageBox.h"
#include "setup/SetupWindow.h"

namespace {

bool RunSetupStep(ProcessState& ps);

// The words a Linux user tries first. Alone on the command line they name no
// option of the "/" grammar (such a line would run nothing and end with -5),
// so they can be answered.
enum class LinuxRequest { None, Help, Version };

LinuxRequest LinuxRequestOf(const std::vector<std::string>& args) {
    if (args.size() != 1) return LinuxRequest::None;
    if (args[0] == "--help" || args[0] == "-h") return LinuxRequest::Help;
    if (args[0] == "--version") return LinuxRequest::Version;
    return LinuxRequest::None;
}

// Parses CmdLn and acts on the requests that end the process or come before
// a run. Returns true when the process is to end with exitCode.
bool ParseAndDispatch(ProcessState& ps) {
    OptionState& opt = ps.opt;
    const bool restored = ParseCommandLine(opt, ps.run, ps.log, ps.kx, ps.settingsPath);
    if (CheckResidentInstance(ps)) return true;
    // A restored last command line that no resident instance takes is parsed
    // and run here; the resident instance runs it with the options it holds.
    const auto parseRestored = [&] {
        if (restored && !ps.residentF) ParseCommandLine(opt, ps.run, ps.log, ps.kx, ps.settingsPath);
    };
    if (!ps.run.handOverF) parseRestored();
    if (opt.helpF) {
        ShowSyntax(true, false, ps.log);
        ps.run.exitCode = kStatusOk;
        return true;
    }
    if (opt.showFlagsF) ShowFlags(opt, true, ps.log);
    if (ps.run.handOverF) {
        if (HandOver(ps)) return true;
        parseRestored(); // the instance went away meanwhile
        return false;
    }
    if (opt.setupF) return RunSetupStep(ps);
    return false;
}

// /w: the setup window. Its "OK" leaves a composed CmdLn, which is parsed and
// dispatched in turn. Returns true when the process is to end with exitCode.
bool RunSetupStep(ProcessState& ps) {
    SetupEnv env{ps.opt, ps.run, ps.setup, ps.log, ps.kx, ps.settingsPath};
    switch (RunSetupWindow(env)) {
    case SetupOutcome::Run:
        ps.opt.setupF = 0;
        return ParseAndDispatch(ps);
    case SetupOutcome::Quit:
        ps.run.exitCode = kStatusOk;
        return true;
    case SetupOutcome::GoOn:
        break;
    }
    return false;
}

// Loads and binds the numeric library, once. False, after the message box,
// when it cannot: the process is to end with exitCode 1.
bool LoadKalvex(ProcessState& ps) {
    if (ps.kx.e_eval != nullptr) return true;
    std::string missing;
    if (BindKalvex(ps.kx, missing)) return true;
    std::string text = "Installation failed!\r\n\r\nThis program will terminate";
    if (!missing.empty()) text += "\r\n\r\nMissing function: " + missing;
    ShowMessageBox("Tessara", text);
    ps.run.exitCode = kLibraryMissing;
    return false;
}

} // namespace

bool RunCycle(ProcessState& ps) {
    if (ParseAndDispatch(ps)) return true;
    if (!LoadKalvex(ps)) return true;
    PrepareRun(ps);
    switch (ObtainInput(ps)) {
    case InputOutcome::Ready:
        RunAndDeliver(ps);
        break;
    case InputOutcome::NoSource:
        ReportNoInput(ps);
        break;
    case InputOutcome::Unreadable:
        ReportUnreadableInput(ps);
        break;
    }
    return false;
}

int RunProgram(const std::vector<std::string>& args) {
    ProcessState ps;
    const LinuxRequest request = LinuxRequestOf(args);
    if (args.empty() || request == LinuxRequest::Help) {
        ShowSyntax(true, false, ps.log);
        return kStatusOk;
    }
    ps.run.CmdLn = JoinArguments(args);
    if (request == LinuxRequest::Version) {
        if (!LoadKalvex(ps)) return kLibraryMissing;
        const std::string text = VersionText(ps.kx);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? kStatusOk : kFileNotWritable;
    }
    // A launch that hands its line to a resident instance needs neither the
    // library nor a window: the library is loaded first only when no
    // instance answers, or when the launch acts with it before a hand-over.
    if ((LineNeedsLibraryFirst(ps.run.CmdLn) || !FindResidentWindow()) && !LoadKalvex(ps)) return kLibraryMissing;
    ps.run.startDir = CurrentFolder();
    ps.settingsPath = SettingsFilePath();
    ps.opt.decimals = 4;

    if (RunCycle(ps)) return ps.run.exitCode;
    if (ps.opt.tsrF || ps.opt.tsrvF) {
        // From now on the instance works while the user is in other programs.
        LeaveFocusToOtherPrograms();
        if (StayResident(ps)) return ps.run.exitCode;
    }
    LogLine(ps.log, "Program End. Exit code: " + std::to_string(ps.run.exitCode), ps.opt.logF);
    return ps.run.exitCode;
}
