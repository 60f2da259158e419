#include "Integration.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "Engine.h"
#include "Errors.h"
#include "OneVariable.h"

namespace kalvex {

namespace {

// The integrand compiled once and evaluated at each sample.
class Integrand {
public:
    explicit Integrand(const Code& code) : code_(code), ev_(TheEvaluator()) {}

    // The value at x; after a failure the error is raised and 0 returned, and
    // the caller's sums are discarded.
    double operator()(double x) {
        if (failed_) return 0.0;
        Value param;
        param.num = x;
        Value v;
        if (!ev_.Run(code_, &param, v)) {
            failed_ = true;
            return 0.0;
        }
        if (!v.IsNumber()) {
            failed_ = true;
            Fail(kShape, "The function to integrate must give a number, got " + ev_.Shape(v));
            ev_.Reset();
            return 0.0;
        }
        return v.num;
    }

    bool Failed() const { return failed_; }

private:
    const Code& code_;
    Evaluator& ev_;
    bool failed_ = false;
};

double Composite(Integrand& f, double a, double b, int n, bool trap) {
    if (!trap && n % 2 != 0) ++n;
    const double h = (b - a) / n;
    double ends = f(a) + f(b);
    double odd = 0.0;
    double even = 0.0;
    for (int i = 1; i < n; ++i) {
        const double y = f(a + i * h);
        if (i % 2 != 0) odd += y;
        else even += y;
    }
    if (trap) return h * (ends / 2 + odd + even);
    return h / 3 * (ends + 4 * odd + 2 * even);
}

// What an adaptive rule gives: the value, its error estimate and the
// integral of |f|, to which the estimate is compared.
struct Estimate {
    double value = 0;
    double error = INFINITY;
    double l1 = 0;

    bool Converged() const { return error <= kAdaptiveTolerance * l1 || error == 0; }
};

// Over a finite interval: tanh-sinh first, which copes with singularities at
// the ends; where its estimate misses the tolerance (a kink or a jump inside
// the interval) adaptive Gauss-Kronrod, and the better of the two.
Estimate FiniteInterval(Integrand& f, double a, double b) {
    const auto g = [&f](double x) { return f(x); };
    Estimate e;
    e.value = boost::math::quadrature::tanh_sinh<double>().integrate(g, a, b, kAdaptiveTolerance / 100, &e.error, &e.l1);
    if (e.Converged() || f.Failed()) return e;
    Estimate k;
    k.value = boost::math::quadrature::gauss_kronrod<double, 61>::integrate(g, a, b, 20, kAdaptiveTolerance / 100,
                                                                           &k.error, &k.l1);
    return k.error < e.error ? k : e;
}

bool Adaptive(Integrand& f, double a, double b, double& result) {
    const bool reversed = a > b;
    if (reversed) std::swap(a, b);
    Estimate e;
    try {
        e = FiniteInterval(f, a, b);
    } catch (const std::exception&) {
        // The rules give up on values they cannot use: the estimate stays infinite.
    }
    if (f.Failed()) return false;
    if (!e.Converged() || !std::isfinite(e.value)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Integral did not converge: the error estimate %.3g is above %.0e of the integral of |f| "
                      "(%.3g); the integral may not exist",
                      e.error, kAdaptiveTolerance, e.l1);
        return Fail(kNotConverged, text);
    }
    result = reversed ? -e.value : e.value;
    return true;
}

}  // namespace

bool IntegrateText(std::string_view text, double a, double b, int n, bool trap, std::string_view var,
                   double& result) {
    if (n < 0 || n > kMaxIntervals) {
        return Fail(kBadArgument, "Invalid argument: " + std::to_string(n) +
                                      " subintervals; give 0 (adaptive) or 1 to " + std::to_string(kMaxIntervals));
    }
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return Fail(kOutOfRange, "Number out of range: the bounds of the integral must be finite");
    }
    Code code;
    std::string chosen;
    if (!CompileInOneVariable(text, var, "function to integrate", code, chosen)) return false;
    Integrand f(code);
    double r = 0.0;
    bool ok = true;
    if (a != b) {
        if (n > 0) r = Composite(f, a, b, n, trap);
        else ok = Adaptive(f, a, b, r);
    }
    TheEvaluator().Reset();
    if (!ok || f.Failed()) return false;
    if (!std::isfinite(r)) return Fail(kOutOfRange, "Number out of range: the integral is too large or undefined");
    result = r;
    return true;
}

}  // namespace kalvex
