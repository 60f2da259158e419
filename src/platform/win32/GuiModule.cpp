// The window module of the Linux build has no Windows counterpart: the
// forwarders behave as without a display.
#include "platform/GuiModule.h"

const GuiModule* LoadGuiModule() { return nullptr; }

const GuiModule* LoadedGuiModule() { return nullptr; }
