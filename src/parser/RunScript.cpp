#include "parser/RunScript.h"

#include <ctime>

#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/ReadFileVersion.h"
#include "AuxFunct/StatusCodes.h"
#include "parser/ProcessScript.h"

namespace {

// The current local time as dd/mm/yyyy - hh:ii:ss.
std::string RunTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y - %H:%M:%S", &local);
    return std::string(text, length);
}

} // namespace

std::size_t RunScript(ScriptEnv& env, const std::string& headerText, std::string& scriptText) {
    ProcessResult run = ProcessScript(scriptText, env);
    const std::string counters = "Executed Commands: " + std::to_string(run.commandCount) +
                                 ", Errors found: " + std::to_string(run.errorCount);
    if (env.opt.NoHF) {
        scriptText = std::move(run.processed);
    } else {
        std::string header = headerText + "\r\n";
        header += "'Uses library Kalvex.dll - rel. " + ReadFileVersion(env.kx) + "\r\n";
        header += "'" + std::string(74, '-') + "\r\n";
        header += "'BatchRun : Time " + RunTime() + "\r\n";
        header += "'Input file: " + env.opt.InpFN + "\r\n";
        header += "'" + counters + "\r\n";
        header += "'" + std::string(84, '*') + "\r\n";
        // The processed text is by far the longer: the header goes into it.
        run.processed.insert(0, header);
        scriptText = std::move(run.processed);
    }
    env.exitCode = kStatusOk;
    LogLine(env.log, "      " + counters);
    return scriptText.size();
}
