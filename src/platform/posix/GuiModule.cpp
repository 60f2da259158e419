// Loading of the window module, once, on first need.
#include "platform/GuiModule.h"

#include <dlfcn.h>

#include "platform/Note.h"
#include "platform/ProgramLibrary.h"

namespace {

const char* const kModuleName = "libTessaraGui.so";

bool tried = false;
const GuiModule* module = nullptr;

// The module's table; nullptr with the reason in error.
const GuiModule* Open(std::string& error) {
    void* library = OpenProgramLibrary(kModuleName, error); // never unloaded
    if (library == nullptr) return nullptr;
    using Entry = const GuiModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(library, kGuiModuleEntry));
    if (entry == nullptr) {
        error = std::string(kModuleName) + " has no " + kGuiModuleEntry;
        return nullptr;
    }
    const GuiModule* table = entry();
    if (table->size != sizeof(GuiModule)) {
        error = std::string(kModuleName) + " belongs to another build of the program";
        return nullptr;
    }
    return table;
}

} // namespace

const GuiModule* LoadGuiModule() {
    if (tried) return module;
    tried = true;
    std::string error;
    module = Open(error);
    if (module == nullptr) Note("the window module cannot be loaded (" + error + "); going on without a display");
    return module;
}

const GuiModule* LoadedGuiModule() { return module; }
