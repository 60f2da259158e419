// Texts in one variable (polynomials, integrands): which name is the variable.
#pragma once

#include <string>
#include <string_view>

#include "Code.h"

namespace kalvex {

// Compiles text and binds its variable as parameter 0. The variable is var
// when given, else the only name of the text that is neither a defined
// variable nor a function (none: the text is a constant). chosen receives the
// variable's name (lower case; empty for a constant without var).
bool CompileInOneVariable(std::string_view text, std::string_view var, const char* what, Code& code,
                          std::string& chosen);

}  // namespace kalvex
