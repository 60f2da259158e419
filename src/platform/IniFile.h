// Reader and writer of the INI text format ("[Section]" lines, "key=value").
#pragma once

#include <string>

// The value of key in section, or defaultValue when the file, section or key
// is missing or unreadable.
std::string IniRead(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& defaultValue);

// Sets key in section, keeping the rest of the file; creates the file and its
// folder when missing. Returns false when it could not be written.
bool IniWrite(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value);
