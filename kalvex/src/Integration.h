// Definite integrals of a function text in one variable.
#pragma once

#include <string_view>

namespace kalvex {

constexpr int kMaxIntervals = 100000000;
// n = 0: the error estimate must be at most this fraction of the integral of |f|.
constexpr double kAdaptiveTolerance = 1e-10;

// n > 0: composite trapezoid (trap) or Simpson (n odd is raised to n + 1);
// n = 0: adaptive quadrature to near full precision (tanh-sinh, else
// Gauss-Kronrod), an error when its estimate misses the tolerance.
bool IntegrateText(std::string_view text, double a, double b, int n, bool trap, std::string_view var,
                   double& result);

}  // namespace kalvex
