// Helpers of the setup window's GUI tests: shell commands and a driver
// script that works the windows with xdotool while the test waits.
#pragma once

#include <sys/types.h>

#include <string>

#include "RunTessara.h"
#include "platform/Form.h"

// A shell command that prints the id of the visible window titled title,
// waiting up to ten seconds for it.
std::string FindWindowCommand(const std::string& title);

// A shell command that clicks control in the window whose id is in $W, near
// its left edge, where check boxes and option buttons have their box.
std::string ClickControl(const ControlSpec& control);

// Runs script with sh in a process group of its own from construction on.
// The destructor waits up to 20 seconds for it to end, then ends the group.
class Driver {
public:
    explicit Driver(const std::string& script);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    // Waits for the script; its exit status, or -1 when it had to be ended.
    int Wait();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};
