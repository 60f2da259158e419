#include "platform/ResidentWait.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <vector>

#include "platform/Display.h"
#include "platform/GuiModule.h"

namespace {

struct Watch {
    int fd;
    void (*ready)();
};

int wakePipe[2] = {-1, -1};
std::vector<Watch> watches;
bool windowWatches = false; // the pipe and the watches are registered with the window module
volatile sig_atomic_t endSignal = 0;
bool clipboardChanged = false;

void OnEndSignal(int) {
    endSignal = 1;
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

void Drain() {
    char bytes[256];
    ssize_t n = 0;
    while ((n = read(wakePipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t k = 0; k < n; ++k) {
            if (bytes[k] == 'c') clipboardChanged = true;
        }
    }
}

} // namespace

bool PrepareResidentWait() {
    if (wakePipe[0] >= 0) return true;
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction end {};
    end.sa_handler = OnEndSignal;
    end.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&end.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &end, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (const int signal : {SIGPIPE, SIGTTIN, SIGTTOU}) sigaction(signal, &ignore, nullptr);
    return true;
}

void DetachResidentInput() {
    if (isatty(STDIN_FILENO) != 0) return;
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing < 0) return;
    dup2(nothing, STDIN_FILENO);
    close(nothing);
}

int ResidentWakeFd() { return wakePipe[1]; }

void AddResidentWatch(int fd, void (*ready)()) {
    watches.push_back({fd, ready});
    if (windowWatches) LoadedGuiModule()->watchFd(fd, ready);
}

void RemoveResidentWatch(int fd) {
    std::erase_if(watches, [fd](const Watch& watch) { return watch.fd == fd; });
    if (windowWatches) LoadedGuiModule()->unwatchFd(fd);
}

void WaitForResidentWake() {
    if (!DisplayOpened()) {
        std::vector<pollfd> entries{{wakePipe[0], POLLIN, 0}};
        for (const Watch& watch : watches) entries.push_back({watch.fd, POLLIN, 0});
        if (poll(entries.data(), entries.size(), -1) <= 0) return;
        if (entries[0].revents != 0) Drain();
        for (std::size_t k = 1; k < entries.size(); ++k) {
            if (entries[k].revents != 0) watches[k - 1].ready();
        }
        return;
    }
    const GuiModule* gui = LoadedGuiModule();
    if (!windowWatches) {
        gui->watchFd(wakePipe[0], Drain);
        for (const Watch& watch : watches) gui->watchFd(watch.fd, watch.ready);
    }
    windowWatches = true;
    gui->waitWhileIdle();
}

bool TakeResidentEndRequest() {
    const GuiModule* gui = LoadedGuiModule();
    bool requested = gui != nullptr && gui->takeEndRequest();
    // A signal after the test stays noted for the next call.
    if (endSignal != 0) {
        endSignal = 0;
        requested = true;
    }
    return requested;
}

bool TakeClipboardChange() {
    const bool changed = clipboardChanged;
    clipboardChanged = false;
    return changed;
}
