// INI files through the system's profile functions.
#include "platform/IniFile.h"

#include <windows.h>

namespace {

// Creates every missing folder on the way to the file path.
void CreateFolders(const std::string& path) {
    for (std::size_t at = path.find_first_of("\\/", 3); at != std::string::npos;
         at = path.find_first_of("\\/", at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
}

} // namespace

std::string IniRead(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
    std::string value(256, '\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                      value.data(), static_cast<DWORD>(value.size()), path.c_str());
        // A value that filled the buffer may have been cut: try a larger one.
        if (length + 1 < value.size() || value.size() >= (std::size_t{1} << 24)) {
            value.resize(length);
            return value;
        }
        value.resize(value.size() * 4);
    }
}

bool IniWrite(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value) {
    CreateFolders(path);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}
