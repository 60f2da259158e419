// Matrix specs: "[A]; rows; cols; v1; v2; ..." defines a matrix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvex {

constexpr std::ptrdiff_t kMaxMatrixDimension = 100000;
constexpr std::ptrdiff_t kMaxMatrixElements = 1000000;

bool DefineMatrixFromSpec(std::string_view spec);

// The name without its brackets: "A" for "[A]" and for "A".
std::string_view BareMatrixName(std::string_view name);
// The lower-case key of a matrix name given as "[A]" or "A"; empty when the
// text is no valid matrix name.
std::string MatrixKey(std::string_view name);

}  // namespace kalvex
