// Lazy access to the display: the window module is loaded, and the connection
// opened, only when a display is named and first needed.
#include "platform/Display.h"

#include <cstdlib>

#include "platform/GuiModule.h"

namespace {

bool opened = false;

bool OpenDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return false;
    const GuiModule* gui = LoadGuiModule();
    opened = gui != nullptr && gui->openDisplay();
    return opened;
}

} // namespace

bool DisplayAvailable() {
    static const bool available = OpenDisplay();
    return available;
}

bool DisplayOpened() { return opened; }

void ServeWindowEvents(double seconds) {
    if (DisplayAvailable()) LoadedGuiModule()->serveWindowEvents(seconds);
}
