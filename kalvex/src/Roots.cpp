// Roots of a polynomial: companion-matrix eigenvalues polished by Newton.
#include <Eigen/Eigenvalues>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "Errors.h"
#include "Polynomial.h"

namespace kalvex {

namespace {

using Complex = std::complex<double>;

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

// A root of multiplicity m is a simple root of the (m-1)-th derivative, where
// Newton's method is not limited by the flatness of p. The multiplicity is
// guessed from the cluster of computed roots around x; the refined value is
// kept only when p is still zero there to rounding, so that two distinct close
// roots are not pulled together.
double RefineMultiple(const Poly& c, const std::vector<Complex>& roots, double x) {
    const double radius = 1e-3 * std::max(1.0, std::fabs(x));
    int m = 0;
    for (const Complex z : roots) {
        if (std::abs(z - x) <= radius) ++m;
    }
    if (m < 2) return x;
    Poly d = c;
    for (int k = 1; k < m; ++k) d = Derivative(d);
    const double y = Polish(d, x);
    double p, dp;
    Horner(c, y, p, dp);
    return std::fabs(y - x) <= radius && std::fabs(p) <= NoiseLevel(c, std::fabs(y)) ? y : x;
}

}  // namespace

bool SmallestRealRoot(const Poly& c, double& root) {
    if (c.size() < 2) {
        return Fail(kNoRealRoot, c[0] == 0.0 ? "No real root: the polynomial is zero, every number is a root"
                                             : "No real root: the polynomial is a non-zero constant");
    }
    // Zero roots come off exactly before the eigenvalue problem.
    Poly reduced = c;
    bool zeroRoot = false;
    while (reduced.size() > 1 && reduced[0] == 0.0) {
        reduced.erase(reduced.begin());
        zeroRoot = true;
    }
    bool found = zeroRoot;
    double best = 0.0;
    if (reduced.size() > 1) {
        const std::vector<Complex> roots = AllRoots(reduced);
        for (const Complex z : roots) {
            const double x = RefineMultiple(reduced, roots, Polish(reduced, z.real()));
            double p, dp;
            Horner(reduced, x, p, dp);
            const bool real = std::fabs(z.imag()) <= 1e-7 * std::max(1.0, std::abs(z)) ||
                              std::fabs(p) <= NoiseLevel(reduced, std::fabs(x));
            if (real && std::isfinite(x) && (!found || x < best)) {
                best = x;
                found = true;
            }
        }
    }
    if (!found) {
        return Fail(kNoRealRoot, "No real root: all " + std::to_string(c.size() - 1) +
                                     " roots of the polynomial are complex");
    }
    root = best;
    return true;
}

}  // namespace kalvex
