// Polynomials in one variable: expansion to coefficients, roots, derivative.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvex {

constexpr int kMaxDegree = 200;

// Coefficients c[k] of x^k, the highest one non-zero (a zero polynomial is {0}).
using Poly = std::vector<double>;

// Expands text (+ - *, ^ by a non-negative integer, / by a constant, constant
// subexpressions of any kind) in the variable var, or in its only free name
// when var is empty. chosen receives the variable's lower-case name.
bool ExpandPolynomial(std::string_view text, std::string_view var, Poly& c, std::string& chosen);

// All roots are computed (eigenvalues of the companion matrix, polished by
// Newton steps on the original coefficients); the smallest real one is given.
bool SmallestRealRoot(const Poly& c, double& root);

// The polynomial as text that parses back: "9x^2 - 2", "0" for zero.
std::string PolynomialText(const Poly& c, const std::string& var);

Poly Derivative(const Poly& c);

}  // namespace kalvex
