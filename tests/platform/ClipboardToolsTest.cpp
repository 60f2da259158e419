// Which clipboard tool is used, and how, with stand-in tools on PATH that
// keep the clipboard in a file and record their arguments.
#include "platform/Clipboard.h"

#include "RunTessara.h"

#include <cstdlib>
#include <iterator>
#include <optional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

class SavedEnvironment {
public:
    SavedEnvironment() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.emplace_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~SavedEnvironment() {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if (saved_[i]) ::setenv(kNames[i], saved_[i]->c_str(), 1);
            else ::unsetenv(kNames[i]);
        }
    }

private:
    static constexpr const char* kNames[] = {"PATH", "DISPLAY", "WAYLAND_DISPLAY", "CLIP_FILE", "CLIP_ARGS"};
    std::vector<std::optional<std::string>> saved_;
};

// A stand-in for every clipboard tool: it prints the stored text when asked
// for output and stores its input otherwise.
void MakeTool(const TempDir& dir, const std::string& name) {
    const std::string path = dir.file("bin/" + name);
    WriteFileBytes(path, "#!/bin/sh\n"
                         "echo \"${0##*/} $*\" >> \"$CLIP_ARGS\"\n"
                         "case \"${0##*/} $* \" in\n"
                         "  wl-paste*|*\" -o \"*|*\" --output \"*) exec /bin/cat \"$CLIP_FILE\" ;;\n"
                         "esac\n"
                         "exec /bin/cat > \"$CLIP_FILE\"\n");
    ::chmod(path.c_str(), 0755);
}

TEST(ClipboardTools, ChosenByDesktopAndWhatIsOnPath) {
    struct Case {
        const char* name;
        const char* wayland;
        const char* display;
        std::vector<std::string> tools;
        std::string expectedArgs;                       // "" when no clipboard
    };
    const Case cases[] = {
        {"Wayland", "wayland-0", nullptr, {"wl-copy", "wl-paste", "xclip"},
         "wl-copy --type text/plain\nwl-paste --no-newline --type text\n"},
        {"XWayland without wl-paste", "wayland-0", ":0", {"wl-copy", "xclip"},
         "xclip -selection clipboard -i\nxclip -selection clipboard -o\n"},
        {"X11 with xsel only", nullptr, ":0", {"xsel"},
         "xsel --clipboard --input\nxsel --clipboard --output\n"},
        {"Wayland without its tools or DISPLAY", "wayland-0", nullptr, {"xclip"}, ""},
        {"X11 without tools", nullptr, ":0", {}, ""},
    };
    for (const Case& c : cases) {
        SavedEnvironment saved;
        TempDir dir;
        ::mkdir(dir.file("bin").c_str(), 0755);
        for (const std::string& tool : c.tools) MakeTool(dir, tool);
        ::setenv("PATH", dir.file("bin").c_str(), 1);
        ::setenv("CLIP_FILE", dir.file("clip").c_str(), 1);
        ::setenv("CLIP_ARGS", dir.file("args").c_str(), 1);
        c.wayland ? ::setenv("WAYLAND_DISPLAY", c.wayland, 1) : ::unsetenv("WAYLAND_DISPLAY");
        c.display ? ::setenv("DISPLAY", c.display, 1) : ::unsetenv("DISPLAY");

        const std::string text = "a\r\nb \xE9 $(id)";
        const bool available = !c.expectedArgs.empty();
        EXPECT_EQ(ClipboardAvailable(), available) << c.name;
        EXPECT_EQ(ClipboardSetText(text), available) << c.name;
        EXPECT_EQ(ClipboardGetText(), available ? text : "") << c.name;
        const std::string args = FileExists(dir.file("args")) ? ReadFileBytes(dir.file("args")) : "";
        EXPECT_EQ(args, c.expectedArgs) << c.name;
    }
}

} // namespace
