#include "SetupGuiSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

std::string FindWindowCommand(const std::string& title) {
    return "timeout 10 xdotool search --sync --onlyvisible --name '^" + title + "$' | head -n 1";
}

std::string ClickControl(const ControlSpec& control) {
    return "xdotool mousemove --window $W " + std::to_string(control.x + 8) + " " +
           std::to_string(control.y + control.h / 2) + " click 1";
}

Driver::Driver(const std::string& script) {
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ > 0) setpgid(pid_, pid_);
}

int Driver::Wait() {
    if (pid_ <= 0) return status_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return status_ = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    return status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Driver::~Driver() { Wait(); }
