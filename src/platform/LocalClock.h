// The clock of the desktop.
#pragma once

#include <ctime>

// The current local date and time.
std::tm CurrentLocalTime();
