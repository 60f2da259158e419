#include "platform/ResidentWait.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "platform/Display.h"
#include "platform/MessageWindow.h"

namespace {

struct Watch {
    int fd;
    void (*ready)();
};

int wakePipe[2] = {-1, -1};
std::vector<Watch> watches;
bool fltkWatches = false; // the pipe and the watches are registered with FLTK
volatile sig_atomic_t endSignal = 0;
bool endRequested = false;
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

void DrainCallback(int, void*) { Drain(); }

void WatchCallback(int, void* ready) { reinterpret_cast<void (*)()>(ready)(); }

void AddToFltk(const Watch& watch) {
    Fl::add_fd(watch.fd, FL_READ, WatchCallback, reinterpret_cast<void*>(watch.ready));
}

// Closing the message window, or Escape in it, while the instance waits
// ends the instance; every other event goes its usual way.
int DispatchWhileIdle(int event, Fl_Window* window) {
    const bool closing = event == FL_CLOSE || (event == FL_KEYBOARD && Fl::event_key() == FL_Escape);
    if (closing && window != nullptr && IsMessageWindow(window)) {
        RequestResidentEnd();
        return 1;
    }
    return Fl::handle_(event, window);
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

int ResidentWakeFd() { return wakePipe[1]; }

void AddResidentWatch(int fd, void (*ready)()) {
    watches.push_back({fd, ready});
    if (fltkWatches) AddToFltk(watches.back());
}

void RemoveResidentWatch(int fd) {
    std::erase_if(watches, [fd](const Watch& watch) { return watch.fd == fd; });
    if (fltkWatches) Fl::remove_fd(fd);
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
    if (!fltkWatches) {
        Fl::add_fd(wakePipe[0], FL_READ, DrainCallback, nullptr);
        for (const Watch& watch : watches) AddToFltk(watch);
    }
    fltkWatches = true;
    Fl::event_dispatch(DispatchWhileIdle);
    Fl::wait(1e20);
    Fl::event_dispatch(nullptr);
}

void RequestResidentEnd() { endRequested = true; }

bool TakeResidentEndRequest() {
    bool requested = endRequested;
    endRequested = false;
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
