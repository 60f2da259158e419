#include <cmath>
#include <numbers>

#include "KalvexTestSupport.h"

namespace {

double Integral(const char* f, double a, double b, int n, int trap, const char* var = "") {
    double r = -1;
    Integrate(f, a, b, n, trap, var, &r);
    return r;
}

TEST_F(KalvexTest, IntegrationFigures) {
    EXPECT_NEAR(Integral("x^2", 0, 2, 100, 0), 8.0 / 3, 1e-12);
    EXPECT_EQ(Integral("x^2", 0, 2, 4, 1, "x"), 2.75);
    EXPECT_NEAR(Integral("sin(x)", 0, std::numbers::pi, 0, 0), 2, 1e-12);
    EXPECT_NEAR(Integral("exp(-x^2)", -10, 10, 0, 0), std::sqrt(std::numbers::pi), 1e-12);
    EXPECT_NEAR(Integral("exp(-x^2)", -10, 10, 0, 1), std::sqrt(std::numbers::pi), 1e-12);  // n = 0 wins
    EXPECT_EQ(GetE_Error(), -1);
}

TEST_F(KalvexTest, IntegrationDetails) {
    // Simpson with an odd count uses one more subinterval: exact for cubics.
    EXPECT_NEAR(Integral("x^3", 0, 1, 3, 0), 0.25, 1e-15);
    EXPECT_NEAR(Integral("x^2", 2, 0, 10, 0), -8.0 / 3, 1e-12);  // reversed bounds
    EXPECT_EQ(Integral("x^2", 1, 1, 10, 0), 0);
    EXPECT_EQ(Integral("3", 0, 2, 5, 1), 6);  // no free name: a constant function
    SetVarFunct("k", "2", 0);
    EXPECT_NEAR(Integral("k*T", 0, 1, 0, 0), 1, 1e-14);  // k is defined, T is the only free name
    SetVarFunct("sq(u)", "u*u", 1);
    EXPECT_NEAR(Integral("sq(x)", 0, 3, 0, 0, "X"), 9, 1e-13);
}

// Adaptive integration (n = 0) to near full precision, singular ends and
// kinks included, or an error when it cannot vouch for the value.
TEST_F(KalvexTest, AdaptiveIntegralsAgainstTheirExactValues) {
    const double pi = std::numbers::pi;
    const struct {
        const char* f;
        double a;
        double b;
        double exact;
        double tolerance;
    } cases[] = {
        {"1/sqrt(x)", 0, 1, 2, 1e-12},
        {"ln(x)", 0, 1, -1, 1e-12},
        {"ln(x)", 1, 0, 1, 1e-12},
        {"x^-0.9", 0, 1, 10, 1e-9},
        {"sqrt(1 - x^2)", -1, 1, pi / 2, 1e-12},
        {"ln(sin(x))", 0, pi / 2, -pi / 2 * std::log(2.0), 1e-12},
        {"abs(x - 0.3)", 0, 1, 0.29, 1e-12},
        {"exp(-x^2)", -10, 10, std::sqrt(pi), 1e-12},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Integral(c.f, c.a, c.b, 0, 0), c.exact, c.tolerance) << c.f;
        EXPECT_EQ(GetE_Error(), -1) << c.f << ": " << LastDescription();
    }
    for (const char* divergent : {"1/x", "x^-0.999", "1/x^2", "sin(1/x)/x"}) {
        EXPECT_EQ(Integral(divergent, 0, 1, 0, 0), 0) << divergent;
        EXPECT_NE(GetE_Error(), -1) << divergent;
    }
    EXPECT_EQ(Integral("x^-0.999", 0, 1, 0, 0), 0);
    EXPECT_EQ(GetE_Error(), kNotConverged);
    EXPECT_TRUE(LastDescription().starts_with("Integral did not converge: the error estimate ")) << LastDescription();
}

struct IntegralError {
    const char* f;
    double a;
    double b;
    int n;
    const char* var;
    int error;
    const char* description;
};

class IntegrationErrors : public KalvexTest, public ::testing::WithParamInterface<IntegralError> {};

TEST_P(IntegrationErrors, AreReported) {
    const IntegralError& c = GetParam();
    EXPECT_EQ(Integral(c.f, c.a, c.b, c.n, 0, c.var), 0);
    EXPECT_EQ(GetE_Error(), c.error);
    EXPECT_EQ(LastDescription(), c.description);
    EXPECT_NEAR(Integral("x", 0, 1, 10, 1), 0.5, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Integrals, IntegrationErrors,
    ::testing::Values(
        IntegralError{"x", 0, 1, -1, "", kBadArgument,
                      "Invalid argument: -1 subintervals; give 0 (adaptive) or 1 to 100000000"},
        IntegralError{"x*y", 0, 1, 10, "", kBadArgument,
                      "The function to integrate has more than one free name ('x', 'y'); name its variable"},
        IntegralError{"x*y", 0, 1, 10, "x", kUnknownName, "Unknown name 'y' at position 3"},
        IntegralError{"1/x", -1, 1, 10, "", kDivisionByZero, "Division by zero at position 2"},
        IntegralError{"sqrt(x)", -1, 1, 0, "", kDomain, "Domain error: sqrt of a negative number at position 1"},
        IntegralError{"x", 0, INFINITY, 10, "", kOutOfRange,
                      "Number out of range: the bounds of the integral must be finite"},
        IntegralError{"x +", 0, 1, 10, "", kSyntax, "Syntax error at position 4: unexpected end of expression"}));

}  // namespace
