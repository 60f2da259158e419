#include "bindings/KalvexApi.h"

#include <dlfcn.h>

#include <filesystem>

namespace {

const char* const kLibraryName = "libKalvex.so";
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;

// Opens the library by its plain file name, so that the loader's search order
// applies, including the program's run path (its own folder, and ../lib of an
// installed tree). A dlopen intercepted by a sanitizer runtime searches that
// runtime's run path instead, so the same folders are then tried by name.
void* OpenLibrary() {
    if (void* library = dlopen(kLibraryName, kOpenFlags)) return library;
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return nullptr;
    for (const char* folder : {".", "../lib"}) {
        const std::filesystem::path candidate = program.parent_path() / folder / kLibraryName;
        if (void* library = dlopen(candidate.c_str(), kOpenFlags)) return library;
    }
    return nullptr;
}

// Binds one function of the library by its exported name; on failure names
// it in problem.
template <typename Function>
bool Bind(void* library, const char* name, Function& slot, std::string& problem) {
    slot = reinterpret_cast<Function>(dlsym(library, name));
    if (!slot) problem = name;
    return slot != nullptr;
}

} // namespace

bool BindKalvex(KalvexApi& api, std::string& problem) {
    problem.clear();
    void* library = OpenLibrary(); // never unloaded
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
