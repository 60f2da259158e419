#include "AuxFunct/SettingsFile.h"

#include "platform/SettingsFolder.h"

std::string SettingsFilePath() { return SettingsFolder() + "Tessara.INI"; }
