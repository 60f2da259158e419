#include "platform/SettingsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

} // namespace

std::string SettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string base = config && *config == '/' ? std::string(config) : HomeFolder() + "/.config";
    return base + "/tessara/";
}
