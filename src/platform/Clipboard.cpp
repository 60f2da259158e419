// Clipboard text through the desktop's clipboard tools: wl-copy/wl-paste under
// Wayland, else xclip or xsel under X11. The tools keep serving text that we
// set after our process has ended.
#include "platform/Clipboard.h"

#include "platform/ToolProcess.h"

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

constexpr int kToolTimeoutMs = 2000;

struct ClipboardTools {
    std::string getPath;
    std::vector<std::string> getArgs;
    std::string setPath;
    std::vector<std::string> setArgs;
};

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The tools of the running desktop, looked up anew on each use.
std::optional<ClipboardTools> FindTools() {
    if (EnvironmentSet("WAYLAND_DISPLAY")) {
        const std::string copy = FindOnPath("wl-copy");
        const std::string paste = FindOnPath("wl-paste");
        if (!copy.empty() && !paste.empty()) {
            return ClipboardTools{paste, {"wl-paste", "--no-newline", "--type", "text"},
                                  copy, {"wl-copy", "--type", "text/plain"}};
        }
    }
    if (!EnvironmentSet("DISPLAY")) return std::nullopt;
    if (const std::string xclip = FindOnPath("xclip"); !xclip.empty()) {
        return ClipboardTools{xclip, {"xclip", "-selection", "clipboard", "-o"},
                              xclip, {"xclip", "-selection", "clipboard", "-i"}};
    }
    if (const std::string xsel = FindOnPath("xsel"); !xsel.empty()) {
        return ClipboardTools{xsel, {"xsel", "--clipboard", "--output"},
                              xsel, {"xsel", "--clipboard", "--input"}};
    }
    return std::nullopt;
}

} // namespace

bool ClipboardAvailable() { return FindTools().has_value(); }

std::string ClipboardGetText() {
    const auto tools = FindTools();
    if (!tools) return "";
    return RunTool(tools->getPath, tools->getArgs, "", true, kToolTimeoutMs).output;
}

bool ClipboardSetText(const std::string& text) {
    const auto tools = FindTools();
    if (!tools) return false;
    return RunTool(tools->setPath, tools->setArgs, text, false, kToolTimeoutMs).succeeded;
}
