#include "AuxFunct/TextScreens.h"

#include "AuxFunct/ReadFileVersion.h"
#include "AuxFunct/TextUtil.h"
#include "platform/Console.h"
#include "platform/MessageWindow.h"
#include "platform/PlatformConventions.h"

namespace {

const char* const kUsageLines =
    "Syntax:\r\n"
    "Tessara /i InputFN.kvx [/o OutputFN.kvx] [/gclp] [/sel:'...'] [/sclp] [/del]\r\n"
    "                       [/lns:x;y;z;] [/spl:path] [/tsr(v)] [/log:[file]]\r\n"
    "                       [/dec:nr] [/rset] [/quit] [/rep]\r\n"
    "Tessara [/h] [/o]\r\n"
    "\r\n"
    "        /i InputFN[.kvx] Kalvex script file name (text format) to evaluate\r\n"
    "        /o OutputFN.kvx  write output to file name (text format)\r\n"
    "                         if missing, OutpFN.kvx in InputFN folder is used\r\n"
    "        /a           /o=overwrite - /a=append, if file exists\r\n"
    "\r\n"
    "        /gclp        get script text to evaluate from clipboard (disable /i)\r\n"
    "        /sel:'...'   evaluate selected text (disable /i, enable /noh)\r\n"
    "        /sclp        copy result to clipboard (disable /o and /a)\r\n"
    "        /del         delete output files before execution\r\n"
    "        /lns:x;y;z;  evaluate LineNrs only - max 10 (es. /lns:1;12;23)\r\n"
    "                     forces /a parameter (append new lines to file)\r\n"
    "                     => Note: This function may give errors if result depends \r\n"
    "                        on previous lines that where not elaborated\r\n"
    "        /lc:n        correct Line Number by n (must have /lns:)\r\n"
    "        /spl[:path\\] save plots screenshots (jpg) in path with sequantial\r\n"
    "                     filenames if path is missing, the same of OutputFN\r\n"
    "                     is used\r\n"
    "        /tsr[v]      Terminate Stay Resident [Visible] (preserving variables \r\n"
    "                     stored in memory)\r\n"
    "        /dec:nr      show numbers using nr decimals (es. /dec:3 gives 0.456)\r\n"
    "        /log[:file]  save log to file. If file is missing, uses Tessara.log\r\n"
    "        /rset        ReSet EqParser and all command variables and strings\r\n"
    "                     all other parameters are ignored\r\n"
    "        /noh         No Header when appending to output\r\n"
    "        /quit        Quit if Terminate Stay Resident\r\n"
    "\r\n"
    "        /h           show help screen with commands and syntax\r\n"
    "        /o           show supported operators, function, etc\r\n"
    "        /w           show setup window\r\n"
    "        /sf          show internal flags (must be TSR)\r\n"
    "        /rep         repeat last command line\r\n"
    "\r\n"
    "Program Exit Code returns Command Executed and Errors count\r\n"
    "    es. 123002 means 123 Commands Executed and 2 Errors encountered\r\n";

std::string Flag(std::int8_t value) { return std::to_string(static_cast<int>(value)); }

// Opens the message window in the fixed-pitch font and switches logging on,
// as the log writer does when its first line opens the window; when a window
// or a log file is already in use, the title line simply goes there.
void OpenTextScreenWindow(LogState& log) {
    if (log.logFile.empty() && !MessageWindowOpen() && OpenMessageWindow(true)) {
        log.logOn = 1;
        return;
    }
    WriteLogLine(log, "Tessara Syntax", 1, "", -1, 0);
}

} // namespace

std::string GetAboutText(bool commentPrefix, bool noHeader) {
    if (noHeader) return {};
    const std::string prefix = commentPrefix ? "'" : "";
    std::string text = prefix + "Program: Tessara.exe\r\n" + prefix + "Version: 0.0.0.0\r\n";
    if (commentPrefix) return text + prefix + kDashRule + "\r\n";
    text += "Launches the evaluation of kvx (Kalvex) script files from advanced text editors\r\n";
    text += "(for example Geany, or any plain-text editor with external tool commands)\r\n";
    text += "This program is provided as is: use it at your own risk.\r\n";
    text += "All numeric work is done by the Kalvex numeric library (";
    text += kKalvexLibraryFile;
    text += ").\r\n";
    return text + kDashRule + "\r\n";
}

std::string UsageText(bool commentPrefix) { return GetAboutText(commentPrefix, false) + kUsageLines; }

std::string FlagsText(const OptionState& opt) {
    return GetAboutText(true, false) + "Flags and Variables:" +
           "\r\nInpFN   = " + opt.InpFN +
           "\r\nlnsF    = " + Flag(opt.lnsF) +
           "\r\nLnsStr  = " + opt.LnsStr +
           "\r\ngetFromClpF     = " + Flag(opt.getFromClpF) +
           "\r\ngetFromSelTextF = " + Flag(opt.getFromSelTextF) +
           "\r\n" +
           "\r\nOutpFN  = " + opt.OutpFN +
           "\r\nAppendF = " + Flag(opt.AppendF) +
           "\r\nNoHF    = " + Flag(opt.NoHF) +
           "\r\nSaveToClpBF = " + Flag(opt.SaveToClpBF) +
           "\r\ndecimals= " + std::to_string(opt.decimals) +
           "\r\n" +
           "\r\nCurDir  = " + opt.CurDir +
           "\r\n" +
           "\r\nsplF    = " + Flag(opt.splF) +
           "\r\nsplPath = " + opt.splPath +
           "\r\nlogF    = " + Flag(opt.logF) +
           "\r\nlogFileN= " + opt.logFileN +
           "\r\ntsrF    = " + Flag(opt.tsrF) +
           "\r\ntsrvF   = " + Flag(opt.tsrvF) +
           "\r\nrsetF   = " + Flag(opt.rsetF) +
           "\r\nquitF   = " + Flag(opt.quitF) +
           "\r\ndelF    = " + Flag(opt.delF) +
           "\r\n" +
           "\r\nPress any keys...";
}

std::string VersionText(const KalvexApi& kx) {
    const std::string library = ReadFileVersion(kx);
    return std::string("tessara ") + TESSARA_VERSION + "\nKalvex library " + (library.empty() ? "(no version)" : library) +
           "\n";
}

std::string OperatorsText(const KalvexApi& kx) {
    std::string text = GetAboutText(false, false);
    text += "Operators, functions and constants of the Kalvex library:\r\n\r\n";
    const char* list = kx.KalvexOperators();
    text += list ? list : "";
    if (!text.ends_with("\r\n")) text += "\r\n";
    return text;
}

void ShowTextScreen(const std::string& text, bool useConsole, LogState& log) {
    if (useConsole) {
        ShowConsoleScreen(text);
        return;
    }
    OpenTextScreenWindow(log);
    // Every piece that a CR ends is one message line; the text after the last
    // CR ends no line and is not shown.
    std::size_t start = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
        std::string line = text.substr(start, cr - start);
        if (!line.empty() && line.front() == '\n') line.erase(0, 1);
        WriteLogLine(log, line, 0, "", -1, 0);
        start = cr + 1;
    }
}

void ShowSyntax(bool useConsole, bool commentPrefix, LogState& log) {
    ShowTextScreen(UsageText(commentPrefix), useConsole, log);
}

void ShowFlags(const OptionState& opt, bool useConsole, LogState& log) {
    ShowTextScreen(FlagsText(opt), useConsole, log);
}

void ShowOperators(const KalvexApi& kx, bool useConsole, LogState& log) {
    ShowTextScreen(OperatorsText(kx), useConsole, log);
}
