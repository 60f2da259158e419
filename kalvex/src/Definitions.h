// Definition of number variables and functions.
#pragma once

#include <string_view>

namespace kalvex {

// name = value of text, evaluated now.
bool DefineVariable(std::string_view name, std::string_view text);
// head is "f" (a formula evaluated at each use) or "f(x, y)".
bool DefineFunction(std::string_view head, std::string_view body);
// Checks that lowerName may name a user variable, function or matrix.
bool CheckUserName(const std::string& lowerName, std::string_view asGiven);

}  // namespace kalvex
