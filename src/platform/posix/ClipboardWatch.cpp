#include "platform/ClipboardWatch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/Clipboard.h"
#include "platform/GuiModule.h"
#include "platform/ResidentWait.h"
#include "platform/ToolProcess.h"

extern char** environ;

namespace {

int notifyFd = -1;
bool watching = false;
pid_t watcher = -1;     // the wl-paste process
int ownerWatchFd = -1; // the window module's connection that hears of clipboard owners

void NoteChange() {
    const char byte = 'c';
    [[maybe_unused]] const ssize_t written = write(notifyFd, &byte, 1);
}

void ReadOwnerChanges() {
    if (LoadedGuiModule()->clipboardOwnerChanged()) NoteChange();
}

// Every new owner of the clipboard selection is a change of its content.
bool StartX11Watch() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    const GuiModule* gui = LoadGuiModule();
    if (gui == nullptr) return false;
    ownerWatchFd = gui->startClipboardOwnerWatch();
    if (ownerWatchFd < 0) return false;
    AddResidentWatch(ownerWatchFd, ReadOwnerChanges);
    return true;
}

// wl-paste runs "echo c" with its standard output on the wake pipe for each
// new clipboard content.
bool StartWaylandWatch(int wakeFd) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || *wayland == '\0') return false;
    const std::string paste = FindOnPath("wl-paste");
    if (paste.empty()) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, wakeFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>("wl-paste"), const_cast<char*>("--type"), const_cast<char*>("text"),
                          const_cast<char*>("--watch"), const_cast<char*>("echo"), const_cast<char*>("c"), nullptr};
    const bool started = posix_spawn(&watcher, paste.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started) watcher = -1;
    return started;
}

} // namespace

bool StartClipboardWatch(int wakeFd) {
    if (watching) return true;
    if (!ClipboardAvailable()) return false;
    notifyFd = wakeFd;
    watching = StartWaylandWatch(wakeFd) || StartX11Watch();
    return watching;
}

void StopClipboardWatch() {
    if (!watching) return;
    watching = false;
    if (watcher > 0) {
        kill(watcher, SIGTERM);
        waitpid(watcher, nullptr, 0);
        watcher = -1;
    }
    if (ownerWatchFd >= 0) {
        RemoveResidentWatch(ownerWatchFd);
        LoadedGuiModule()->stopClipboardOwnerWatch();
        ownerWatchFd = -1;
    }
}
