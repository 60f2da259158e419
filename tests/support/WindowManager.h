// A window manager (openbox) on the test's display, started for one test and
// ended by its pid.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "RunTessara.h"

class WindowManager {
public:
    WindowManager() {
        // An earlier manager on this display leaves its marks on the root
        // window: remove them, so that only this one's can be waited for.
        Shell("xprop -root -remove _NET_SUPPORTING_WM_CHECK; xprop -root -remove _NET_NUMBER_OF_DESKTOPS");
        pid_ = fork();
        if (pid_ == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execlp("openbox", "openbox", static_cast<char*>(nullptr));
            _exit(127);
        }
        // It announces itself on the root window before its event loop runs;
        // it manages windows once it answers a request: here, for a second desktop.
        WaitUntil([] { return Shell("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos; },
                  10000);
        WaitUntil(
            [] {
                Shell("xdotool set_num_desktops 2");
                return Shell("xprop -root _NET_NUMBER_OF_DESKTOPS").find("= 2") != std::string::npos;
            },
            10000);
    }
    ~WindowManager() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

private:
    pid_t pid_ = -1;
};
