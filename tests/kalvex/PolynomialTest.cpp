#include <cmath>
#include <string>

#include "KalvexTestSupport.h"

namespace {

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

}  // namespace
