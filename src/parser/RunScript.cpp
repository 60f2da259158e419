#include "parser/RunScript.h"

#include "AuxFunct/LocalTime.h"
#include "AuxFunct/LogWriter.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/ReadFileVersion.h"
#include "AuxFunct/StatusCodes.h"
#include "AuxFunct/TextUtil.h"
#include "parser/ProcessScript.h"

std::size_t RunScript(ScriptEnv& env, const std::string& headerText, std::string& scriptText) {
    ProcessResult run = ProcessScript(scriptText, env);
    const std::string counters = "Executed Commands: " + std::to_string(run.commandCount) +
                                 ", Errors found: " + std::to_string(run.errorCount);
    if (env.opt.NoHF) {
        scriptText = std::move(run.processed);
    } else {
        std::string header = headerText + "\r\n";
        header += "'Uses library Kalvex.dll - rel. " + ReadFileVersion(env.kx) + "\r\n";
        header += "'" + kDashRule + "\r\n";
        header += "'BatchRun : Time " + LocalTimeText() + "\r\n";
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
