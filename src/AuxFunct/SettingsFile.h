#pragma once

#include <string>

// Where the settings file keeps the last command line.
inline constexpr const char* kSettingsSection = "Tessara";
inline constexpr const char* kSettingsKey = "lastCmdLn";

// The settings file that keeps the last command line: Tessara.INI in the
// platform's settings folder (SettingsFolder).
std::string SettingsFilePath();
