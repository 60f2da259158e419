// Compiles expression text into postfix code (see Code.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Code.h"

namespace kalvex {

constexpr std::size_t kMaxExpressionLength = 100000;  // characters
constexpr int kMaxNesting = 200;                       // parentheses, signs, powers

// Compiles text; names listed in params (lower case) become Param slots.
// Returns false with the error raised when the text is not an expression.
bool Compile(std::string_view text, const std::vector<std::string>& params, Code& out);

}  // namespace kalvex
