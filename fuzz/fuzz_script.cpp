// The script processor in-process: any script text is processed without a
// crash, every line it counts as an error carries an error text, and the
// counts stay within the script's lines. File statements act inside the
// folder the fuzzer runs in (scripts with a "/" are skipped). Plot statements
// are skipped too: one may take ten million samples, far too slow for a
// fuzzer's input.
#include <filesystem>
#include <string>

#include "AuxFunct/TextUtil.h"
#include "Promises.h"
#include "ScriptRecords.h"
#include "parser/ProcessScript.h"

namespace {

// The library linked in, in place of the one bound at run time.
KalvexApi LinkedKalvex() {
    KalvexApi kx;
    kx.e_eval = e_eval;
    kx.GetE_Error = GetE_Error;
    kx.GetE_ErrDescr = GetE_ErrDescr;
    kx.GetResultType = GetResultType;
    kx.FindMatrix = FindMatrix;
    kx.SetStrMatrix = SetStrMatrix;
    kx.SetVarFunct = SetVarFunct;
    kx.FindVarVal2 = FindVarVal2;
    kx.GetFunctText = GetFunctText;
    kx.aPrint = aPrint;
    kx.aElemOrderSet = aElemOrderSet;
    kx.aElemOrderEx = aElemOrderEx;
    kx.aAbout = aAbout;
    kx.SetDebugF = SetDebugF;
    kx.dSolve = dSolve;
    kx.Integrate = Integrate;
    kx.lPoly_dydx = lPoly_dydx;
    kx.ReSetEqParser = ReSetEqParser;
    kx.KalvexVersion = KalvexVersion;
    kx.KalvexOperators = KalvexOperators;
    return kx;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const KalvexApi kx = LinkedKalvex();
    const std::string script(reinterpret_cast<const char*>(data), size);
    // Without a "/" every file a statement names lies in the fuzzer's folder.
    if (script.find('/') != std::string::npos || ToLower(script).find("plot") != std::string::npos) return 0;
    static const std::string startDir = std::filesystem::current_path().string() + "/";
    ScriptRecords records(kx);
    records.startDir = startDir;
    const ProcessResult r = ProcessScript(script, records.env);
    std::size_t lines = 1;
    for (const char c : script) lines += c == '\n' || c == '\r' ? 1 : 0;
    Promise(r.commandCount >= 0 && static_cast<std::size_t>(r.commandCount) <= lines);
    Promise(r.errorCount >= 0 && r.errorCount <= r.commandCount);
    if (r.errorCount > 0) Promise(r.processed.find("ERROR n. = ") != std::string::npos);
    kx.ReSetEqParser();
    return 0;
}
