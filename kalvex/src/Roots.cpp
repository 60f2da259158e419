// Roots of a polynomial: exact square-free factors, then companion-matrix
// eigenvalues of each factor polished by Newton steps.
#include <Eigen/Eigenvalues>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <vector>

#include "Engine.h"
#include "Errors.h"
#include "MulMod.h"
#include "Polynomial.h"

namespace kalvex {

namespace {

using Complex = std::complex<double>;
using boost::multiprecision::cpp_int;

// p(z) and p'(z) by Horner's rule.
template <typename T>
void Horner(const Poly& c, T z, T& p, T& dp) {
    p = T(c.back());
    dp = T(0);
    for (std::size_t k = c.size() - 1; k-- > 0;) {
        dp = dp * z + p;
        p = p * z + T(c[k]);
    }
}

// The size of rounding noise in evaluating p at |x| = r.
double NoiseLevel(const Poly& c, double r) {
    double s = 0;
    double rk = 1;
    for (const double v : c) {
        s += std::fabs(v) * rk;
        rk *= r;
    }
    return 64 * std::numeric_limits<double>::epsilon() * s;
}

template <typename T>
T Polish(const Poly& c, T z) {
    T p, dp;
    Horner(c, z, p, dp);
    for (int i = 0; i < 100 && std::abs(p) != 0.0 && std::abs(dp) != 0.0; ++i) {
        const T next = z - p / dp;
        T np, ndp;
        Horner(c, next, np, ndp);
        if (!(std::abs(np) < std::abs(p))) break;  // no more progress
        z = next;
        p = np;
        dp = ndp;
    }
    return z;
}

std::vector<Complex> AllRoots(const Poly& c) {
    const int n = static_cast<int>(c.size()) - 1;
    if (n == 1) return {Complex(-c[0] / c[1], 0.0)};
    Eigen::MatrixXd companion = Eigen::MatrixXd::Zero(n, n);
    for (int j = 0; j < n; ++j) companion(0, j) = -c[static_cast<std::size_t>(n - 1 - j)] / c.back();
    for (int i = 1; i < n; ++i) companion(i, i - 1) = 1.0;
    const Eigen::EigenSolver<Eigen::MatrixXd> solver(companion, false);
    std::vector<Complex> roots;
    for (int i = 0; i < n; ++i) roots.push_back(Polish(c, Complex(solver.eigenvalues()(i))));
    return roots;
}

// The smallest real root of a polynomial without multiple roots, if any.
void SmallestOfFactor(const Poly& c, bool& found, double& best) {
    for (const Complex z : AllRoots(c)) {
        const double x = Polish(c, z.real());
        double p, dp;
        Horner(c, x, p, dp);
        const bool real = std::fabs(z.imag()) <= 1e-7 * std::max(1.0, std::abs(z)) ||
                          std::fabs(p) <= NoiseLevel(c, std::fabs(x));
        if (real && std::isfinite(x) && (!found || x < best)) {
            best = x;
            found = true;
        }
    }
}

bool IsZero(const ExactPoly& p) { return p.size() == 1 && p[0] == 0; }

// Exact division with remainder: a = q*b + r, deg r < deg b (b non-zero).
void Divide(const ExactPoly& a, const ExactPoly& b, ExactPoly& q, ExactPoly& r) {
    r = a;
    const int db = Degree(b);
    q.assign(static_cast<std::size_t>(std::max(Degree(a) - db, 0)) + 1, Rational(0));
    while (!IsZero(r) && Degree(r) >= db) {
        const int shift = Degree(r) - db;
        const Rational f = r.back() / b.back();
        q[static_cast<std::size_t>(shift)] = f;
        for (int i = 0; i <= db; ++i) r[static_cast<std::size_t>(shift + i)] -= f * b[static_cast<std::size_t>(i)];
        Normalize(r);  // the leading coefficient is now zero
    }
    Normalize(q);
}

ExactPoly Quotient(const ExactPoly& a, const ExactPoly& b) {
    ExactPoly q, r;
    Divide(a, b, q, r);
    return q;
}

void MakeMonic(ExactPoly& p) {
    const Rational lead = p.back();
    for (Rational& c : p) c /= lead;
}

// Exact arithmetic on numbers larger than this many bits is slow; a factoring
// that needs them gives up and leaves the polynomial whole.
constexpr unsigned kMaxExactBits = 1024;

bool Small(const ExactPoly& p) {
    for (const Rational& c : p) {
        if (c != 0 && (msb(abs(numerator(c))) > kMaxExactBits || msb(denominator(c)) > kMaxExactBits)) return false;
    }
    return true;
}

// Greatest common divisor, monic (Euclid's algorithm over the rationals);
// false when its numbers grow too large.
bool Gcd(ExactPoly a, ExactPoly b, ExactPoly& g) {
    while (!IsZero(b)) {
        ExactPoly q, r;
        Divide(a, b, q, r);
        MakeMonic(b);
        a = std::move(b);
        b = std::move(r);
        if (!IsZero(b)) MakeMonic(b);
        if (!Small(b)) return false;
    }
    MakeMonic(a);
    g = std::move(a);
    return true;
}

bool IsOne(const ExactPoly& p) { return p.size() == 1 && p[0] == 1; }

ExactPoly Minus(ExactPoly a, const ExactPoly& b) {
    if (a.size() < b.size()) a.resize(b.size());
    for (std::size_t i = 0; i < b.size(); ++i) a[i] -= b[i];
    Normalize(a);
    return a;
}

// Arithmetic modulo the prime 2^61 - 1.
constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;

std::uint64_t MulPrime(std::uint64_t a, std::uint64_t b) { return MulMod(a, b, kPrime); }

std::uint64_t InverseMod(std::uint64_t a) {
    std::uint64_t r = 1;
    for (std::uint64_t e = kPrime - 2; e > 0; e >>= 1, a = MulPrime(a, a)) {
        if ((e & 1) != 0) r = MulPrime(r, a);
    }
    return r;
}

std::uint64_t Residue(const cpp_int& v) {
    const cpp_int r = v % kPrime;
    return static_cast<std::uint64_t>(r < 0 ? r + kPrime : r);
}

// Degree of the greatest common divisor of p and p' modulo the prime; 0
// proves that p has no multiple root. -1 when the prime does not fit p (it
// divides a denominator or the leading coefficient).
int GcdDegreeModPrime(const ExactPoly& c) {
    std::vector<std::uint64_t> a(c.size());
    for (std::size_t k = 0; k < c.size(); ++k) {
        const std::uint64_t den = Residue(denominator(c[k]));
        if (den == 0) return -1;
        a[k] = MulPrime(Residue(numerator(c[k])), InverseMod(den));
    }
    if (a.back() == 0) return -1;
    std::vector<std::uint64_t> b(a.size() - 1);
    for (std::size_t k = 1; k < a.size(); ++k) b[k - 1] = MulPrime(a[k], k);
    const auto trim = [](std::vector<std::uint64_t>& p) {
        while (!p.empty() && p.back() == 0) p.pop_back();
    };
    trim(b);
    while (!b.empty()) {
        // a := a mod b
        const std::uint64_t inv = InverseMod(b.back());
        while (a.size() >= b.size() && !a.empty()) {
            const std::uint64_t f = MulPrime(a.back(), inv);
            const std::size_t shift = a.size() - b.size();
            for (std::size_t i = 0; i < b.size(); ++i) {
                a[shift + i] = (a[shift + i] + kPrime - MulPrime(f, b[i])) % kPrime;
            }
            trim(a);
        }
        std::swap(a, b);
    }
    return static_cast<int>(a.size()) - 1;
}

// Yun's algorithm: the factors f1, f2, ... with c = lc * f1 * f2^2 * f3^3 ...,
// each without multiple roots (factors equal to 1 are left out). A polynomial
// without multiple roots, or one whose factoring needs too large numbers, is
// its own only factor.
std::vector<ExactPoly> SquareFreeFactors(const ExactPoly& c) {
    if (GcdDegreeModPrime(c) == 0) return {c};
    std::vector<ExactPoly> factors;
    const ExactPoly dc = Derivative(c);
    ExactPoly a;
    if (!Gcd(c, dc, a)) return {c};
    ExactPoly b = Quotient(c, a);
    ExactPoly d = Minus(Quotient(dc, a), Derivative(b));
    while (Degree(b) > 0) {
        ExactPoly f;
        if (!Gcd(b, d, f)) return {c};
        ExactPoly next = Quotient(b, f);
        d = Minus(Quotient(d, f), Derivative(next));
        if (!IsOne(f)) factors.push_back(std::move(f));
        b = std::move(next);
    }
    return factors;
}

}  // namespace

bool SmallestRealRoot(const ExactPoly& c, double& root) {
    if (c.size() < 2) {
        return Fail(kNoRealRoot, c[0] == 0 ? "No real root: the polynomial is zero, every number is a root"
                                           : "No real root: the polynomial is a non-zero constant");
    }
    bool found = false;
    double best = 0.0;
    for (const ExactPoly& factor : SquareFreeFactors(c)) {
        Poly f;
        if (!ToDoubles(factor, "the polynomial", f)) return false;
        SmallestOfFactor(f, found, best);
    }
    if (!found) {
        return Fail(kNoRealRoot, "No real root: all " + std::to_string(c.size() - 1) +
                                     " roots of the polynomial are complex");
    }
    root = best;
    return true;
}

}  // namespace kalvex
