// Clipboard text through the desktop's clipboard tools: wl-copy/wl-paste under
// Wayland, else xclip or xsel under X11. The tools keep serving text that we
// set after our process has ended.
#include "platform/Clipboard.h"

#include "platform/ImageCodecs.h"
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

constexpr const char* kTextType = "text/plain";

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The tools of the running desktop, looked up anew on each use; setting puts
// data of the media type on the clipboard (only text with xsel).
std::optional<ClipboardTools> FindTools(const std::string& type) {
    if (EnvironmentSet("WAYLAND_DISPLAY")) {
        const std::string copy = FindOnPath("wl-copy");
        const std::string paste = FindOnPath("wl-paste");
        if (!copy.empty() && !paste.empty()) {
            return ClipboardTools{paste, {"wl-paste", "--no-newline", "--type", "text"},
                                  copy, {"wl-copy", "--type", type}};
        }
    }
    if (!EnvironmentSet("DISPLAY")) return std::nullopt;
    if (const std::string xclip = FindOnPath("xclip"); !xclip.empty()) {
        // Text goes without a type, so that xclip offers it in every text format.
        std::vector<std::string> setArgs{"xclip", "-selection", "clipboard", "-i"};
        if (type != kTextType) setArgs.insert(setArgs.end() - 1, {"-t", type});
        return ClipboardTools{xclip, {"xclip", "-selection", "clipboard", "-o"}, xclip, std::move(setArgs)};
    }
    if (const std::string xsel = FindOnPath("xsel"); !xsel.empty() && type == kTextType) {
        return ClipboardTools{xsel, {"xsel", "--clipboard", "--output"},
                              xsel, {"xsel", "--clipboard", "--input"}};
    }
    return std::nullopt;
}

// Puts data of the media type on the clipboard, where it stays after this
// process ends.
bool ClipboardSet(const std::string& data, const std::string& type) {
    const auto tools = FindTools(type);
    if (!tools) return false;
    return RunTool(tools->setPath, tools->setArgs, data, false, kToolTimeoutMs).succeeded;
}

} // namespace

bool ClipboardAvailable() { return FindTools(kTextType).has_value(); }

std::string ClipboardGetText() {
    const auto tools = FindTools(kTextType);
    if (!tools) return "";
    return RunTool(tools->getPath, tools->getArgs, "", true, kToolTimeoutMs).output;
}

bool ClipboardSetText(const std::string& text) { return ClipboardSet(text, kTextType); }

bool ClipboardSetPicture(const RgbImage& picture) {
    const std::string png = EncodePng(picture);
    return !png.empty() && ClipboardSet(png, "image/png");
}
