#include "bindings/KalvexApi.h"

#include "platform/PlatformConventions.h"
#include "platform/ProgramLibrary.h"

namespace {

// Binds one function of the library by its exported name; on failure names
// it in problem.
template <typename Function>
bool Bind(void* library, const char* name, Function& slot, std::string& problem) {
    slot = reinterpret_cast<Function>(ProgramLibraryFunction(library, name));
    if (!slot) problem = name;
    return slot != nullptr;
}

} // namespace

bool BindKalvex(KalvexApi& api, std::string& problem) {
    problem.clear();
    std::string loaderError;
    void* library = OpenProgramLibrary(kKalvexLibraryFile, loaderError); // never unloaded
    if (!library) return false;
    return Bind(library, "e_eval", api.e_eval, problem) &&
           Bind(library, "GetE_Error", api.GetE_Error, problem) &&
           Bind(library, "GetE_ErrDescr", api.GetE_ErrDescr, problem) &&
           Bind(library, "GetResultType", api.GetResultType, problem) &&
           Bind(library, "FindMatrix", api.FindMatrix, problem) &&
           Bind(library, "SetStrMatrix", api.SetStrMatrix, problem) &&
           Bind(library, "SetVarFunct", api.SetVarFunct, problem) &&
           Bind(library, "FindVarVal2", api.FindVarVal2, problem) &&
           Bind(library, "GetFunctText", api.GetFunctText, problem) &&
           Bind(library, "aPrint", api.aPrint, problem) &&
           Bind(library, "aElemOrderSet", api.aElemOrderSet, problem) &&
           Bind(library, "aElemOrderEx", api.aElemOrderEx, problem) &&
           Bind(library, "aAbout", api.aAbout, problem) &&
           Bind(library, "SetDebugF", api.SetDebugF, problem) &&
           Bind(library, "dSolve", api.dSolve, problem) &&
           Bind(library, "Integrate", api.Integrate, problem) &&
           Bind(library, "lPoly_dydx", api.lPoly_dydx, problem) &&
           Bind(library, "ReSetEqParser", api.ReSetEqParser, problem) &&
           Bind(library, "KalvexVersion", api.KalvexVersion, problem) &&
           Bind(library, "KalvexOperators", api.KalvexOperators, problem) &&
           Bind(library, "e_evalAt", api.e_evalAt, problem);
}
