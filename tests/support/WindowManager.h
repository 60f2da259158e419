// A window manager (openbox) on the test's display, started for one test and
// ended by its pid.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "RunTessara.h"

class WindowManager {
public:
    WindowManager() {
        // A busy machine may be slow to bring the manager up, and a manager
        // may end before it manages anything: each start gets a generous bound
        // and one that ended is started again. A manager that never answers
        // fails the test with what it said, rather than letting windows
        // without frames fail it later for no visible reason.
        for (int attempt = 0; attempt < 3 && !Start(); ++attempt) Stop();
        const char* display = std::getenv("DISPLAY");
        if (!Running())
            ADD_FAILURE() << "openbox did not start on " << (display != nullptr ? display : "no display") << ":\n"
                          << ReadFileBytes(log_.file("openbox.log"));
    }
    ~WindowManager() { Stop(); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

private:
    TempDir log_;
    pid_t pid_ = -1;

    // Reaps a manager that ended, so that its pid is never signalled again.
    bool Running() {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) != 0) pid_ = -1;
        return pid_ > 0;
    }

    bool Start() {
        // An earlier manager on this display leaves its marks on the root
        // window: remove them, so that only this one's can be waited for.
        Shell("xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null; "
              "xprop -root -remove _NET_NUMBER_OF_DESKTOPS 2>/dev/null");
        const std::string log = log_.file("openbox.log");
        pid_ = fork();
        if (pid_ == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen(log.c_str(), "a", stderr);
            execlp("openbox", "openbox", static_cast<char*>(nullptr));
            std::perror("openbox");
            _exit(127);
        }
        // It announces itself on the root window before its event loop runs;
        // it manages windows once it answers a request: here, for a second desktop.
        const bool up = WaitUntil(
            [this] {
                if (!Running()) return true;
                Shell("xdotool set_num_desktops 2 2>/dev/null");
                return Shell("xprop -root _NET_NUMBER_OF_DESKTOPS").find("= 2") != std::string::npos;
            },
            30000);
        return up && Running();
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
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
