#pragma once

#include <string>

// Where the settings file keeps the last command line.
inline constexpr const char* kSettingsSection = "Tessara";
inline constexpr const char* kSettingsKey = "lastCmdLn";

// The settings file that keeps the last command line: Tessara.INI in
// $XDG_CONFIG_HOME/tessara/, or ~/.config/tessara/ when that variable is unset,
// empty or not an absolute path. It never depends on the current folder.
std::string SettingsFilePath();
