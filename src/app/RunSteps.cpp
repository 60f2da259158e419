#include "app/RunSteps.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "AuxFunct/LocalTime.h"
#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/StatusCodes.h"
#include "AuxFunct/TextScreens.h"
#include "AuxFunct/TextUtil.h"
#include "parser/RunScript.h"
#include "parser/ScriptFiles.h"
#include "platform/Clipboard.h"
#include "platform/FileContent.h"
#include "platform/Note.h"

namespace fs = std::filesystem;

namespace {

void WriteLogBlock(ProcessState& ps) {
    const OptionState& opt = ps.opt;
    WriteLogLine(ps.log, GetAboutText(true, false), opt.logF, opt.logFileN, 0, 0);
    LogLine(ps.log, "BatchRun      : Time " + LocalTimeText() + "\r\n");
    const std::pair<const char*, const std::string&> lines[] = {
        {"Command Line  : ", ps.run.CmdLn}, {"Input File    : ", opt.InpFN},
        {"Output File   : ", opt.OutpFN},   {"Save Plot Path: ", opt.splPath},
        {"Log File      : ", opt.logFileN},
    };
    for (const auto& [label, value] : lines) LogLine(ps.log, label + ("\"" + value + "\""));
    LogLine(ps.log, "Current Folder: \"" + FolderPart(opt.InpFN) + "\"");
}

// A log file named like the input or the output file would truncate the
// script before it is read or mix log lines into the output: the log goes to
// the default file of the start folder instead, or is switched off when even
// that one is taken.
void KeepLogOffScripts(ProcessState& ps) {
    OptionState& opt = ps.opt;
    const auto taken = [&opt](const std::string& name) {
        return SameFile(name, opt.InpFN) || SameFile(name, opt.OutpFN);
    };
    if (!taken(opt.logFileN)) return;
    const std::string fallback = ps.run.startDir + "Tessara.log";
    const std::string why = "the log file " + opt.logFileN + " is a script file of this run; ";
    if (taken(fallback)) {
        Note(why + "no log is written");
        opt.logF = 0;
        return;
    }
    Note(why + "the log goes to " + fallback);
    opt.logFileN = fallback;
}

bool IsPlotScreenshotName(const std::string& name) {
    const std::string prefix = "aPlotNr_", suffix = ".jpg";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
        return false;
    const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return number.find_first_not_of("0123456789") == std::string::npos;
}

// Puts the output on the clipboard; without a clipboard it goes to standard
// output so that nothing is lost. False when that write fails.
bool DeliverToClipboard(const std::string& text) {
    if (ClipboardSetText(text)) return true;
    Note("no clipboard available; the output follows on standard output");
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    return !std::cout.fail();
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& args) {
    // The same as cmdLn := Trim(cmdLn + " " + arg) for each argument, in one
    // pass: the line so far has no blanks at its ends.
    std::string cmdLn;
    for (const std::string& arg : args) {
        const std::string_view text = arg;
        const std::string_view piece = cmdLn.empty() ? TrimView(text) : text.substr(0, text.find_last_not_of(' ') + 1);
        if (piece.empty()) continue;
        if (!cmdLn.empty()) cmdLn += ' ';
        cmdLn += piece;
    }
    return cmdLn;
}

std::string NormalisePlotPath(const std::string& splPath) {
    if (splPath.empty() || splPath == "0" || splPath == "-1") return "0";
    std::error_code ec;
    if (splPath.find('/') != std::string::npos && fs::is_directory(splPath, ec))
        return splPath.back() == '/' ? splPath : splPath + "/";
    return FolderPart(splPath);
}

void PrepareRun(ProcessState& ps) {
    OptionState& opt = ps.opt;
    RunState& run = ps.run;
    if (run.startDir.empty()) run.startDir = CurrentFolder();
    if (opt.logF)
        opt.logFileN = opt.logFileN.empty() ? run.startDir + "Tessara.log" : ResolvePath(opt.logFileN, run.startDir);
    opt.InpFN = ResolvePath(opt.InpFN, run.startDir);
    opt.OutpFN = ResolvePath(opt.OutpFN, run.startDir);
    if (opt.logF) KeepLogOffScripts(ps);
    // Moving to the input's folder first lets a relative plot path be checked
    // where the screenshots will be saved.
    const std::string inputFolder = FolderPart(opt.InpFN);
    if (!inputFolder.empty()) {
        std::error_code ignored; // a folder that cannot be entered leaves the current one
        fs::current_path(inputFolder, ignored);
    }
    if (!opt.splPathReadyF) opt.splPath = NormalisePlotPath(opt.splPath);
    opt.splPathReadyF = 1;
    if (!run.rerunF) WriteLogBlock(ps);
}

InputOutcome ObtainInput(ProcessState& ps) {
    OptionState& opt = ps.opt;
    RunState& run = ps.run;
    if (!opt.InpF && !opt.getFromClpF && !opt.getFromSelTextF) return InputOutcome::NoSource;
    if (!opt.getFromClpF && !opt.getFromSelTextF) {
        if (!ReadInputScript(opt.InpFN, run.scriptText, run.exitCode)) return InputOutcome::Unreadable;
    } else if (opt.getFromClpF) {
        run.clipText = ClipboardGetText();
        run.scriptText = Trim(run.clipText);
    } else {
        run.scriptText = Trim(opt.selText);
        opt.selText.clear();
        run.clipText.clear();
    }
    if (!run.scriptText.empty() && run.scriptText.back() == '/') run.scriptText.pop_back();
    run.headerText = GetAboutText(true, opt.NoHF);
    return InputOutcome::Ready;
}

void RunAndDeliver(ProcessState& ps) {
    OptionState& opt = ps.opt;
    RunState& run = ps.run;
    if (opt.delF && !opt.OutpFN.empty()) RemoveFile(opt.OutpFN);
    if (opt.delF && opt.splF && opt.splPath != "0") DeletePlotScreenshots(opt.splPath);

    ScriptEnv env{ps.kx, opt, run.exitCode, ps.log, ps.plots, run.startDir};
    RunScript(env, run.headerText, run.scriptText);
    if (!opt.SaveToClpBF) {
        WriteOutputScript(opt.OutpFN, opt.AppendF != 0, run.scriptText, run.exitCode);
    } else {
        if (!DeliverToClipboard(run.scriptText)) ReportUnwritableOutput(kStandardOutputName, run.exitCode);
        run.lastClipOut = run.scriptText;
    }
    ++run.runCount;
    LogLine(ps.log, CompletionLine(run.runCount, run.rerunF != 0));
    run.rerunF = 0;
}

void ReportNoInput(ProcessState& ps) {
    std::string message = "Error: Invalid Input file.\r\nfilename: " + ps.opt.InpFN + ".\r\n";
    if (!ps.opt.tsrF && !ps.opt.tsrvF) {
        message += "      Program will terminate.";
        ps.run.exitCode = kNoInputSource;
        // Without a log nobody would learn why nothing happened.
        Note("nothing to evaluate: no input was named (/i file, /sel:'...'/ or /gclp; tessara --help lists the options)");
    } else {
        message += "      Program will remain resident waiting for further inputs.";
    }
    LogLine(ps.log, message);
}

void ReportUnreadableInput(ProcessState& ps) {
    LogLine(ps.log, "Error: the input file " + ps.opt.InpFN + " could not be read; nothing was run or written.");
    ps.run.rerunF = 0;
}

std::string CompletionLine(int runCount, bool received) {
    char number[16];
    std::snprintf(number, sizeof number, "%4d", runCount);
    return std::string(number).substr(0, 4) +
           (received ? ": Command Line Executed. Waiting for further messages." : ": Command Line Executed.");
}

void DeletePlotScreenshots(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (statusError || fs::is_directory(status)) continue;
        if (IsPlotScreenshotName(it->path().filename().string())) RemoveFile(it->path().string());
    }
}
