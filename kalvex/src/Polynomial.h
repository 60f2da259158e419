// Polynomials in one variable: exact expansion to coefficients, roots,
// derivative.
#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace kalvex {

constexpr int kMaxDegree = 200;

using Rational = boost::multiprecision::number<boost::multiprecision::cpp_rational_backend,
                                               boost::multiprecision::et_off>;

// Coefficients c[k] of x^k, the highest one non-zero (a zero polynomial is
// {0}): exact rationals, and their nearest doubles.
using ExactPoly = std::vector<Rational>;
using Poly = std::vector<double>;

// Expands text (+ - *, ^ by a non-negative integer, / by a constant, constant
// subexpressions of any kind) in the variable var, or in its only free name
// when var is empty. The numbers written in the text are taken at their exact
// decimal value; other constants (pi, function values) at the exact value of
// their double. chosen receives the variable's lower-case name.
bool ExpandPolynomial(std::string_view text, std::string_view var, ExactPoly& c, std::string& chosen);

// The nearest doubles of the coefficients; an error when one is too large.
bool ToDoubles(const ExactPoly& c, const char* what, Poly& out);

// Removes zero coefficients above the highest non-zero one.
void Normalize(ExactPoly& p);
int Degree(const ExactPoly& p);

ExactPoly Derivative(const ExactPoly& c);

// The smallest real root. The polynomial is split exactly into square-free
// factors, so that every root is a simple root of some factor; the roots of
// each factor are the eigenvalues of its companion matrix, polished by Newton
// steps.
bool SmallestRealRoot(const ExactPoly& c, double& root);

// The polynomial as text that parses back to the same doubles: "9x^2 - 2",
// "0" for zero; each coefficient in the shortest form that reads back exactly.
std::string PolynomialText(const Poly& c, const std::string& var);

}  // namespace kalvex
