// A window manager (openbox) on the test's display, started for one test and
// ended by its pid.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

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

// Wine's windows expect a window manager (a dialog of Wine takes the keys
// typed into it only once the manager has made it active): the GUI suites
// that may run Tessara.exe register this environment, which starts one for
// the whole suite when the program under test is the Windows build.
class WindowsDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        if (!WindowsTarget().empty()) manager_ = std::make_unique<WindowManager>();
    }
    void TearDown() override { manager_.reset(); }

private:
    std::unique_ptr<WindowManager> manager_;
};
