#include "Builtins.h"

#include <algorithm>
#include <boost/math/special_functions/factorials.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <numeric>
#include <string>
#include <unordered_map>

#include "Errors.h"
#include "MulMod.h"

namespace kalvex {

namespace {

// A failed argument check: the NaN tells the evaluator to look at why.
double Reject(Rejection& why, int code, const char* what) {
    why.code = code;
    why.what = what;
    return std::numeric_limits<double>::quiet_NaN();
}

constexpr double kMaxExactInteger = 9007199254740992.0;  // 2^53

bool IsInteger(double x) { return std::floor(x) == x && std::fabs(x) <= kMaxExactInteger; }

double Sqrt(double x, Rejection& why) { return x < 0 ? Reject(why, kDomain, "sqrt of a negative number") : std::sqrt(x); }
double Ln(double x, Rejection& why) { return x <= 0 ? Reject(why, kDomain, "ln of a number that is not positive") : std::log(x); }
double Log10(double x, Rejection& why) { return x <= 0 ? Reject(why, kDomain, "log of a number that is not positive") : std::log10(x); }
double Log2(double x, Rejection& why) { return x <= 0 ? Reject(why, kDomain, "log2 of a number that is not positive") : std::log2(x); }
double Asin(double x, Rejection& why) { return std::fabs(x) > 1 ? Reject(why, kDomain, "asin of a number outside -1 to 1") : std::asin(x); }
double Acos(double x, Rejection& why) { return std::fabs(x) > 1 ? Reject(why, kDomain, "acos of a number outside -1 to 1") : std::acos(x); }
double Acosh(double x, Rejection& why) { return x < 1 ? Reject(why, kDomain, "acosh of a number below 1") : std::acosh(x); }
double Atanh(double x, Rejection& why) {
    return std::fabs(x) >= 1 ? Reject(why, kDomain, "atanh of a number outside -1 to 1 (exclusive)") : std::atanh(x);
}
double Tan(double x, Rejection&) { return std::tan(x); }
double Sin(double x, Rejection&) { return std::sin(x); }
double Cos(double x, Rejection&) { return std::cos(x); }
double Atan(double x, Rejection&) { return std::atan(x); }
double Sinh(double x, Rejection&) { return std::sinh(x); }
double Cosh(double x, Rejection&) { return std::cosh(x); }
double Tanh(double x, Rejection&) { return std::tanh(x); }
double Asinh(double x, Rejection&) { return std::asinh(x); }
double Exp(double x, Rejection&) { return std::exp(x); }
double Cbrt(double x, Rejection&) { return std::cbrt(x); }
double Abs(double x, Rejection&) { return std::fabs(x); }
double Sign(double x, Rejection&) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }
double Floor(double x, Rejection&) { return std::floor(x); }
double Ceil(double x, Rejection&) { return std::ceil(x); }
double Round(double x, Rejection&) { return std::round(x); }
double Trunc(double x, Rejection&) { return std::trunc(x); }
double Deg(double x, Rejection&) { return x * 180.0 / std::numbers::pi; }
double Rad(double x, Rejection&) { return x * std::numbers::pi / 180.0; }

double Fact(double x, Rejection& why) {
    if (!IsInteger(x) || x < 0) return Reject(why, kDomain, "fact of a number that is not a non-negative integer");
    if (x > boost::math::max_factorial<double>::value) return Reject(why, kOutOfRange, "fact of a number above 170");
    return boost::math::factorial<double>(static_cast<unsigned>(x));
}

std::uint64_t PowMod(std::uint64_t b, std::uint64_t e, std::uint64_t m) {
    std::uint64_t r = 1;
    b %= m;
    while (e > 0) {
        if (e & 1) r = MulMod(r, b, m);
        b = MulMod(b, b, m);
        e >>= 1;
    }
    return r;
}

// Deterministic Miller-Rabin: these bases decide every 64-bit number.
bool IsPrime64(std::uint64_t n) {
    if (n < 2) return false;
    for (std::uint64_t p : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u}) {
        if (n % p == 0) return n == p;
    }
    std::uint64_t d = n - 1;
    int s = 0;
    while ((d & 1) == 0) {
        d >>= 1;
        ++s;
    }
    for (std::uint64_t a : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u}) {
        std::uint64_t x = PowMod(a, d, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int r = 1; r < s; ++r) {
            x = MulMod(x, x, n);
            if (x == n - 1) {
                composite = false;
                break;
            }
        }
        if (composite) return false;
    }
    return true;
}

double IsPrime(double x, Rejection& why) {
    if (!IsInteger(x)) return Reject(why, kDomain, "isprime of a number that is not an integer");
    return x >= 2 && IsPrime64(static_cast<std::uint64_t>(x)) ? 1.0 : 0.0;
}

double Atan2(const double* a, int, Rejection&) { return std::atan2(a[0], a[1]); }
double Hypot(const double* a, int, Rejection&) { return std::hypot(a[0], a[1]); }

double Mod(const double* a, int, Rejection& why) {
    if (a[1] == 0) return Reject(why, kDivisionByZero, "mod by zero");
    return a[0] - a[1] * std::floor(a[0] / a[1]);
}

double Min(const double* a, int n, Rejection&) { return *std::min_element(a, a + n); }
double Max(const double* a, int n, Rejection&) { return *std::max_element(a, a + n); }

bool IntegerArgs(const double* a, int n) {
    return std::all_of(a, a + n, [](double v) { return IsInteger(v); });
}

double Gcd(const double* a, int n, Rejection& why) {
    if (!IntegerArgs(a, n)) return Reject(why, kDomain, "gcd of numbers that are not integers");
    std::int64_t g = 0;
    for (int i = 0; i < n; ++i) g = std::gcd(g, static_cast<std::int64_t>(a[i]));
    return static_cast<double>(g);
}

double Lcm(const double* a, int n, Rejection& why) {
    if (!IntegerArgs(a, n)) return Reject(why, kDomain, "lcm of numbers that are not integers");
    double l = 1;
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<std::int64_t>(std::fabs(a[i]));
        if (v == 0) return 0.0;
        const auto li = static_cast<std::int64_t>(l);
        l = static_cast<double>(li / std::gcd(li, v)) * static_cast<double>(v);
        if (l > kMaxExactInteger) return Reject(why, kOutOfRange, "lcm above 2^53");
    }
    return l;
}

const Builtin kBuiltins[] = {
    {"sin", "x", 1, 1, Sin, nullptr, MatrixFn::None, "sine (radians)"},
    {"cos", "x", 1, 1, Cos, nullptr, MatrixFn::None, "cosine (radians)"},
    {"tan", "x", 1, 1, Tan, nullptr, MatrixFn::None, "tangent (radians)"},
    {"asin", "x", 1, 1, Asin, nullptr, MatrixFn::None, "inverse sine"},
    {"acos", "x", 1, 1, Acos, nullptr, MatrixFn::None, "inverse cosine"},
    {"atan", "x", 1, 1, Atan, nullptr, MatrixFn::None, "inverse tangent"},
    {"atan2", "y, x", 2, 2, nullptr, Atan2, MatrixFn::None, "angle of the point (x, y)"},
    {"sinh", "x", 1, 1, Sinh, nullptr, MatrixFn::None, "hyperbolic sine"},
    {"cosh", "x", 1, 1, Cosh, nullptr, MatrixFn::None, "hyperbolic cosine"},
    {"tanh", "x", 1, 1, Tanh, nullptr, MatrixFn::None, "hyperbolic tangent"},
    {"asinh", "x", 1, 1, Asinh, nullptr, MatrixFn::None, "inverse hyperbolic sine"},
    {"acosh", "x", 1, 1, Acosh, nullptr, MatrixFn::None, "inverse hyperbolic cosine"},
    {"atanh", "x", 1, 1, Atanh, nullptr, MatrixFn::None, "inverse hyperbolic tangent"},
    {"exp", "x", 1, 1, Exp, nullptr, MatrixFn::None, "e to the power x"},
    {"ln", "x", 1, 1, Ln, nullptr, MatrixFn::None, "natural logarithm"},
    {"log", "x", 1, 1, Log10, nullptr, MatrixFn::None, "logarithm to base 10"},
    {"log2", "x", 1, 1, Log2, nullptr, MatrixFn::None, "logarithm to base 2"},
    {"sqrt", "x", 1, 1, Sqrt, nullptr, MatrixFn::None, "square root"},
    {"cbrt", "x", 1, 1, Cbrt, nullptr, MatrixFn::None, "cube root"},
    {"abs", "x", 1, 1, Abs, nullptr, MatrixFn::None, "absolute value"},
    {"sign", "x", 1, 1, Sign, nullptr, MatrixFn::None, "sign: -1, 0 or 1"},
    {"floor", "x", 1, 1, Floor, nullptr, MatrixFn::None, "largest integer not above x"},
    {"ceil", "x", 1, 1, Ceil, nullptr, MatrixFn::None, "smallest integer not below x"},
    {"round", "x", 1, 1, Round, nullptr, MatrixFn::None, "nearest integer, halves away from zero"},
    {"trunc", "x", 1, 1, Trunc, nullptr, MatrixFn::None, "integer part"},
    {"deg", "x", 1, 1, Deg, nullptr, MatrixFn::None, "radians to degrees"},
    {"rad", "x", 1, 1, Rad, nullptr, MatrixFn::None, "degrees to radians"},
    {"hypot", "x, y", 2, 2, nullptr, Hypot, MatrixFn::None, "sqrt(x^2 + y^2)"},
    {"min", "a, b, ...", 1, -1, nullptr, Min, MatrixFn::None, "smallest of its arguments"},
    {"max", "a, b, ...", 1, -1, nullptr, Max, MatrixFn::None, "largest of its arguments"},
    {"mod", "a, b", 2, 2, nullptr, Mod, MatrixFn::None, "a - b*floor(a/b)"},
    {"fact", "n", 1, 1, Fact, nullptr, MatrixFn::None, "factorial of 0 to 170"},
    {"gcd", "a, b, ...", 1, -1, nullptr, Gcd, MatrixFn::None, "greatest common divisor of integers"},
    {"lcm", "a, b, ...", 1, -1, nullptr, Lcm, MatrixFn::None, "least common multiple of integers"},
    {"isprime", "n", 1, 1, IsPrime, nullptr, MatrixFn::None, "1 when n is a prime number, else 0"},
    {"det", "[A]", 1, 1, nullptr, nullptr, MatrixFn::Det, "determinant of a square matrix"},
    {"inv", "[A]", 1, 1, nullptr, nullptr, MatrixFn::Inv, "inverse of a square matrix"},
    {"trn", "[A]", 1, 1, nullptr, nullptr, MatrixFn::Trn, "transpose of a matrix"},
    {"trace", "[A]", 1, 1, nullptr, nullptr, MatrixFn::Trace, "sum of the diagonal of a square matrix"},
    {"solve", "[A]; [b]", 2, 2, nullptr, nullptr, MatrixFn::Solve, "x with [A]*x = [b]"},
    {"dot", "[u]; [v]", 2, 2, nullptr, nullptr, MatrixFn::Dot, "dot product of two vectors"},
    {"cross", "[u]; [v]", 2, 2, nullptr, nullptr, MatrixFn::Cross, "cross product of two 3-vectors"},
    {"norm", "[A]", 1, 1, nullptr, nullptr, MatrixFn::Norm, "Euclidean length of a vector, Frobenius norm of a matrix"},
};

const Constant kConstants[] = {
    {"pi", std::numbers::pi, "3.14159265358979..."},
    {"e", std::numbers::e, "2.71828182845904..."},
};

}  // namespace

int FindBuiltin(std::string_view lowerName) {
    static const std::unordered_map<std::string_view, int> index = [] {
        std::unordered_map<std::string_view, int> m;
        for (int i = 0; i < BuiltinCount(); ++i) m.emplace(kBuiltins[i].name, i);
        return m;
    }();
    const auto it = index.find(lowerName);
    return it == index.end() ? -1 : it->second;
}

const Builtin& BuiltinAt(int index) { return kBuiltins[index]; }

int BuiltinCount() { return static_cast<int>(std::size(kBuiltins)); }

const Constant* FindConstant(std::string_view lowerName) {
    for (const Constant& c : kConstants) {
        if (lowerName == c.name) return &c;
    }
    return nullptr;
}

const Constant* ConstantAt(int index) {
    return index >= 0 && index < static_cast<int>(std::size(kConstants)) ? &kConstants[index] : nullptr;
}

}  // namespace kalvex
