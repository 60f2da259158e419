// Fixed texts of the library: version, about and the operators screen.
#pragma once

#include <string>

namespace kalvex {

const char* VersionText();
const std::string& AboutText();
const std::string& OperatorsText();

}  // namespace kalvex
