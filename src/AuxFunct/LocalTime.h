#pragma once

#include <string>

// The local date and time as "dd/mm/yyyy - hh:ii:ss": the time of a run in
// the log and in the output header.
std::string LocalTimeText();
