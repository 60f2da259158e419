// The functions of the numeric library that the program calls, bound at run
// time from libKalvex.so.
#pragma once

#include <string>

#include "kalvex.h"

struct KalvexApi {
    decltype(&::e_eval) e_eval = nullptr;
    decltype(&::e_evalAt) e_evalAt = nullptr;
    decltype(&::GetE_Error) GetE_Error = nullptr;
    decltype(&::GetE_ErrDescr) GetE_ErrDescr = nullptr;
    decltype(&::GetResultType) GetResultType = nullptr;
    decltype(&::FindMatrix) FindMatrix = nullptr;
    decltype(&::SetStrMatrix) SetStrMatrix = nullptr;
    decltype(&::SetVarFunct) SetVarFunct = nullptr;
    decltype(&::FindVarVal2) FindVarVal2 = nullptr;
    decltype(&::GetFunctText) GetFunctText = nullptr;
    decltype(&::aPrint) aPrint = nullptr;
    decltype(&::aElemOrderSet) aElemOrderSet = nullptr;
    decltype(&::aElemOrderEx) aElemOrderEx = nullptr;
    decltype(&::aAbout) aAbout = nullptr;
    decltype(&::SetDebugF) SetDebugF = nullptr;
    decltype(&::dSolve) dSolve = nullptr;
    decltype(&::Integrate) Integrate = nullptr;
    decltype(&::lPoly_dydx) lPoly_dydx = nullptr;
    decltype(&::ReSetEqParser) ReSetEqParser = nullptr;
    decltype(&::KalvexVersion) KalvexVersion = nullptr;
    decltype(&::KalvexOperators) KalvexOperators = nullptr;
};

// Loads libKalvex.so by its plain file name and binds every function above.
// Returns true on success; otherwise false with problem set to the name of the
// missing function, or empty when the library itself could not be loaded.
bool BindKalvex(KalvexApi& api, std::string& problem);
