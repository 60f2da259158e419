// Definite integrals of a function text in one variable.
#pragma once

#include <string_view>

namespace kalvex {

constexpr int kMaxIntervals = 100000000;

// n > 0: composite trapezoid (trap) or Simpson (n odd is raised to n + 1);
// n = 0: adaptive Gauss-Kronrod quadrature to near full precision.
bool IntegrateText(std::string_view text, double a, double b, int n, bool trap, std::string_view var,
                   double& result);

}  // namespace kalvex
