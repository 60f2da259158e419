// The visible resident window of the Linux build, in the window module.
#include "platform/ResidentWindow.h"

#include "platform/Display.h"
#include "platform/GuiModule.h"

bool OpenResidentWindow() {
    const GuiModule* gui = DisplayAvailable() ? LoadedGuiModule() : nullptr;
    return gui != nullptr && gui->openResidentWindow();
}

void SetResidentStatus(const std::string& text) {
    if (const GuiModule* gui = LoadedGuiModule()) gui->setResidentStatus(text);
}

int FlashWindowTimes(int count) {
    const GuiModule* gui = LoadedGuiModule();
    return gui != nullptr ? gui->flashWindowTimes(count) : 0;
}

void CloseResidentWindow() {
    if (const GuiModule* gui = LoadedGuiModule()) gui->closeResidentWindow();
}
