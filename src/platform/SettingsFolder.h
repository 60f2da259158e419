// Where the program keeps its settings file.
#pragma once

#include <string>

// The fixed folder of the settings file, ending in the path separator:
// $XDG_CONFIG_HOME/tessara/ on Linux (~/.config/tessara/ when that variable
// is unset, empty or not an absolute path), %APPDATA%\Tessara\ on Windows.
// It never depends on the current folder.
std::string SettingsFolder();
