#include "platform/SettingsFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

std::string SettingsFolder() {
    const char* appData = std::getenv("APPDATA");
    std::string base = appData != nullptr ? appData : "";
    if (base.empty()) {
        char folder[MAX_PATH] = {};
        if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) base = folder;
    }
    if (!base.empty() && base.back() != '\\') base += '\\';
    return base + "Tessara\\";
}
