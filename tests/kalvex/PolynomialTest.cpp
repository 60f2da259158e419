#include <boost/multiprecision/cpp_int.hpp>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "KalvexTestSupport.h"

namespace {

using boost::multiprecision::cpp_int;

// A polynomial with exact decimal coefficients: c[k] / 10^scale of x^k.
struct Decimal {
    std::vector<cpp_int> c;
    unsigned scale = 0;
};

// Multiplies p by (x - root / 10^places).
void TimesLinear(Decimal& p, long root, unsigned places) {
    const cpp_int unit = boost::multiprecision::pow(cpp_int(10), places);
    std::vector<cpp_int> r(p.c.size() + 1);
    for (std::size_t k = 0; k < p.c.size(); ++k) {
        r[k + 1] += p.c[k] * unit;
        r[k] -= p.c[k] * root;
    }
    p.c = std::move(r);
    p.scale += places;
}

std::string DecimalText(const cpp_int& n, unsigned scale) {
    std::string digits = cpp_int(abs(n)).str();
    if (digits.size() <= scale) digits.insert(0, scale - digits.size() + 1, '0');
    if (scale > 0) digits.insert(digits.size() - scale, ".");
    return (n < 0 ? "-" : "") + digits;
}

// The polynomial written out: "c_n*x^n + c_(n-1)*x^(n-1) + ...".
std::string Expanded(const Decimal& p) {
    std::string t;
    for (std::size_t k = p.c.size(); k-- > 0;) {
        if (p.c[k] == 0) continue;
        t += (t.empty() ? "" : " + ") + DecimalText(p.c[k], p.scale) + "*x^" + std::to_string(k);
    }
    return t;
}

Decimal Product(const std::vector<std::pair<long, unsigned>>& roots) {
    Decimal p{{1}, 0};
    for (const auto& [root, places] : roots) TimesLinear(p, root, places);
    return p;
}

double Solve(const char* poly, const char* var = "") { return dSolve(poly, var); }

TEST_F(KalvexTest, SolveGivesTheSmallestRealRoot) {
    const struct {
        const char* poly;
        const char* var;
        double root;
        double tol = 1e-9;
    } cases[] = {
        {"x^3 - 6x^2 + 11x - 6", "", 1},
        {"(x-1)*(x-2)*(x-3)", "x", 1},
        {"2y - 4", "", 2},
        {"t^2 - 2", "T", -std::sqrt(2.0)},
        {"x^3", "", 0},
        {"x^2 - 2x + 1", "", 1},          // a double root
        {"(x - 3)^3*(x^2 + 1)", "", 3},      // a triple root beside complex ones
        {"(x - 1)^4*(x + 5)^2", "", -5},
        {"(x + 2)^4*(x - 1)", "", -2},
        {"(x - 1)*(x - 1.0001)", "", 1},   // close but distinct roots stay apart
        {"x^4 - 1", "", -1},
        {"(x^2 + 4)/2 - 4", "", -2},
        {"x^2 + sqrt(4)*x", "", -2},       // constant subexpressions of any kind
    };
    for (const auto& c : cases) {
        const double r = Solve(c.poly, c.var);
        EXPECT_EQ(GetE_Error(), -1) << c.poly << ": " << LastDescription();
        EXPECT_NEAR(r, c.root, c.tol) << c.poly;
    }
    EXPECT_NEAR(Solve("x^3 - 6x^2 + 11x - 6"), 1, 1e-12);
}

// A multiple root written out expanded is found to full precision, whatever
// its multiplicity: the polynomial is split exactly into square-free factors.
TEST_F(KalvexTest, SolveMultipleRootsOfExpandedPolynomials) {
    const struct {
        std::vector<std::pair<long, unsigned>> roots;  // root / 10^places, repeated as often as it occurs
        double root;
        double tolerance;
    } cases[] = {
        {std::vector<std::pair<long, unsigned>>(6, {15, 1}), 1.5, 1e-9},                                 // (x-1.5)^6
        {{{1, 1}, {1, 1}, {1, 1}, {1, 1}, {-2, 0}}, -2, 1e-9},                                         // (x-0.1)^4 (x+2)
        {{{-1, 1}, {-1, 1}, {-1, 1}, {-1, 1}, {2, 0}}, -0.1, 1e-9},                                   // (x+0.1)^4 (x-2)
        {{{5, 1}, {5, 1}, {25, 1}, {25, 1}, {25, 1}, {-3, 0}, {-3, 0}, {-3, 0}}, -3, 1e-9},
        {{{-125, 3}, {-125, 3}, {-125, 3}, {7, 0}, {7, 0}}, -0.125, 1e-9},
    };
    for (const auto& c : cases) {
        const std::string text = Expanded(Product(c.roots));
        EXPECT_NEAR(Solve(text.c_str()), c.root, c.tolerance) << text;
        EXPECT_EQ(GetE_Error(), -1) << text;
    }
    for (int k = 1; k <= 200; k += k < 12 ? 1 : 17) {  // up to the degree limit
        const std::string text = Expanded(Product(std::vector<std::pair<long, unsigned>>(k, {1, 0})));
        EXPECT_NEAR(Solve(text.c_str()), 1, 1e-12) << "(x-1)^" << k;
        EXPECT_EQ(GetE_Error(), -1) << k;
    }
}

TEST_F(KalvexTest, SolveOfDegreeTen) {
    // (x+1)(x+2)...(x+10), expanded: the roots are -1 to -10.
    std::string poly = "1";
    for (int k = 1; k <= 10; ++k) poly = "(" + poly + ")*(x + " + std::to_string(k) + ")";
    double r = Solve(poly.c_str());
    EXPECT_EQ(GetE_Error(), -1);
    EXPECT_NEAR(r, -10, 1e-9);
    r = Solve("x^10 - 55x^9 + 1320x^8 - 18150x^7 + 157773x^6 - 902055x^5 + 3416930x^4 - 8409500x^3 + "
              "12753576x^2 - 10628640x + 3628800");
    EXPECT_EQ(GetE_Error(), -1);
    EXPECT_NEAR(r, 1, 1e-9);
}

TEST_F(KalvexTest, DefinedVariablesAreConstantsOfPolynomials) {
    SetVarFunct("a", "4", 0);
    EXPECT_NEAR(Solve("x^2 - a"), -2, 1e-12);
    EXPECT_EQ(GetE_Error(), -1);
    EXPECT_NEAR(Solve("x^2 - a", "a"), 0, 0);  // naming a variable binds it
    EXPECT_EQ(GetE_Error(), kUnknownName);     // x is then an unknown name
}

struct PolyError {
    const char* poly;
    const char* var;
    int error;
    const char* description;
};

class PolynomialErrors : public KalvexTest, public ::testing::WithParamInterface<PolyError> {};

TEST_P(PolynomialErrors, AreReported) {
    const PolyError& c = GetParam();
    EXPECT_EQ(dSolve(c.poly, c.var), 0);
    EXPECT_EQ(GetE_Error(), c.error);
    EXPECT_EQ(LastDescription(), c.description);
    EXPECT_STREQ(lPoly_dydx(c.poly, c.var), c.error == kNoRealRoot ? lPoly_dydx(c.poly, c.var) : "");
}

INSTANTIATE_TEST_SUITE_P(
    Polynomials, PolynomialErrors,
    ::testing::Values(
        PolyError{"x^2 + 1", "", kNoRealRoot, "No real root: all 2 roots of the polynomial are complex"},
        PolyError{"7", "", kNoRealRoot, "No real root: the polynomial is a non-zero constant"},
        PolyError{"x*y + 1", "", kBadArgument,
                  "The polynomial has more than one free name ('x', 'y'); name its variable"},
        PolyError{"sin(x)", "", kNotPolynomial, "Not a polynomial: the variable inside sin() at position 1"},
        PolyError{"1/x", "", kNotPolynomial,
                  "Not a polynomial: division by an expression in the variable at position 2"},
        PolyError{"x^0.5", "", kNotPolynomial,
                  "Not a polynomial: the variable to a power that is not a non-negative integer at position 2"},
        PolyError{"x^x", "", kNotPolynomial, "Not a polynomial: the exponent contains the variable at position 2"},
        PolyError{"x^1000", "", kNotPolynomial, "Not a polynomial: degree above 200 at position 2"},
        PolyError{"x < 1", "", kNotPolynomial, "Not a polynomial: a comparison at position 3"},
        PolyError{"x/0", "", kDivisionByZero, "Division by zero at position 2"},
        PolyError{"x^2", "2x", kBadName, "Invalid name '2x' for the variable of the polynomial"}));

TEST_F(KalvexTest, DerivativeTextParsesBackAndAgrees) {
    const struct {
        const char* poly;
        const char* var;
        const char* derivative;
    } cases[] = {
        {"3x^3 - 2x + 7", "", "9x^2 - 2"},
        {"7", "", "0"},
        {"-x^2", "", "-2x"},
        {"x", "", "1"},
        {"0.5t^4 + t^2", "t", "2t^3 + 2t"},
        {"(x+1)^2", "", "2x + 2"},
        {"2*e1^2", "e1", "4*e1"},  // "4e1" would read as the number 40
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(lPoly_dydx(c.poly, c.var), c.derivative) << c.poly;
        EXPECT_EQ(GetE_Error(), -1);
    }
    const std::string d = lPoly_dydx("3x^3 - 2x + 7", "");
    SetVarFunct("d(x)", d.c_str(), 1);
    ASSERT_EQ(GetE_Error(), -1);
    for (double x : {-2.0, 0.0, 0.5, 3.0}) {
        const std::string at = std::to_string(x);
        EXPECT_NEAR(Eval("d(" + at + ")").value, Eval("9*(" + at + ")^2 - 2").value, 1e-12);
    }
}

// The derivative text reads back, in the library and as plain numbers, to the
// derivative of the exact polynomial, its coefficients rounded once.
TEST_F(KalvexTest, DerivativeTextRoundTripsOnRandomPolynomials) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> mantissa(-999999, 999999);
    std::uniform_int_distribution<unsigned> places(0, 9);
    std::uniform_int_distribution<int> degree(1, 40);
    for (int round = 0; round < 200; ++round) {
        const int n = degree(random);
        Decimal p{std::vector<cpp_int>(static_cast<std::size_t>(n) + 1), places(random)};
        for (cpp_int& c : p.c) c = mantissa(random);
        Decimal d{std::vector<cpp_int>(p.c.size() - 1), p.scale};
        for (std::size_t k = 1; k < p.c.size(); ++k) d.c[k - 1] = p.c[k] * static_cast<long>(k);
        const std::string exact = Expanded(d);
        const std::string text = lPoly_dydx(Expanded(p).c_str(), "");
        ASSERT_EQ(GetE_Error(), -1) << Expanded(p);
        // Read back by the library: the difference to the exact derivative is zero.
        dSolve(("(" + text + ") - (" + (exact.empty() ? "0" : exact) + ")").c_str(), "x");
        EXPECT_EQ(LastDescription(), "No real root: the polynomial is zero, every number is a root") << text;
        // Read back as numbers: each term is the nearest double of its exact coefficient.
        std::size_t at = 0;
        for (std::size_t k = d.c.size(); k-- > 0;) {
            if (d.c[k] == 0) continue;
            double coefficient = 0;
            const char* first = text.data() + at + (text.compare(at, 3, " + ") == 0 || text.compare(at, 3, " - ") == 0 ? 3 : 0);
            const auto [end, ec] = std::from_chars(first + (*first == '-' ? 1 : 0), text.data() + text.size(), coefficient);
            ASSERT_EQ(ec, std::errc()) << text;
            const bool negative = text[at] == '-' || text.compare(at, 3, " - ") == 0;
            EXPECT_EQ(negative ? -coefficient : coefficient, std::stod(DecimalText(d.c[k], d.scale))) << text;
            at = text.find_first_of("+-", static_cast<std::size_t>(end - text.data()) + 1);
            at = at == std::string::npos ? text.size() : at - 1;
        }
    }
}

TEST_F(KalvexTest, DerivativeOverflowIsAnError) {
    for (const char* poly : {"-1e308*x^3", "1e308*x^2 + x", "(1e200*x)^2"}) {
        EXPECT_STREQ(lPoly_dydx(poly, ""), "") << poly;
        EXPECT_EQ(GetE_Error(), kOutOfRange) << poly;
        EXPECT_EQ(LastDescription(), "Number out of range: a coefficient of the derivative is too large");
    }
}

}  // namespace
