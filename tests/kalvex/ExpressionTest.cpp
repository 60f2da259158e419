#include <cmath>
#include <numbers>

#include "KalvexTestSupport.h"

namespace {

struct ValueCase {
    const char* text;
    double expected;
};

class ExpressionValues : public KalvexTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ExpressionValues, Evaluate) {
    const ValueCase& c = GetParam();
    const EvalResult r = Eval(c.text);
    ASSERT_EQ(r.error, -1) << c.text << ": " << r.description;
    EXPECT_EQ(r.type, 0);
    EXPECT_NEAR(r.value, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.text;
}

const double kPi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(
    Language, ExpressionValues,
    ::testing::Values(
        // Numbers, precedence and associativity.
        ValueCase{".5", 0.5}, ValueCase{"1.5E-3", 1.5e-3}, ValueCase{"1e5", 1e5}, ValueCase{"1 + 2*3", 7},
        ValueCase{"(1 + 2)*3", 9}, ValueCase{"2^3^2", 512}, ValueCase{"-2^2", -4}, ValueCase{"(-2)^2", 4},
        ValueCase{"2^-1", 0.5}, ValueCase{"8/4/2", 1}, ValueCase{"7 - 2 - 1", 4}, ValueCase{"--3", 3},
        ValueCase{"+3", 3}, ValueCase{"1e-400", 0},
        // Implicit multiplication; "2e" is 2 times e, "1e5" a number.
        ValueCase{"2e", 2 * std::numbers::e}, ValueCase{"2pi", 2 * kPi}, ValueCase{"3(1+1)", 6},
        ValueCase{"1/2pi", kPi / 2},
        // Comparisons.
        ValueCase{"1 < 2", 1}, ValueCase{"2 <= 1", 0}, ValueCase{"3 > 2", 1}, ValueCase{"2 >= 2", 1},
        ValueCase{"2 == 2", 1}, ValueCase{"2 = 3", 0}, ValueCase{"2 != 3", 1}, ValueCase{"2 <> 2", 0},
        ValueCase{"1 + 1 == 2", 1},
        // Functions, case-insensitive names, both argument separators.
        ValueCase{"sin(pi/2)", 1}, ValueCase{"COS(0)", 1}, ValueCase{"tan(pi/4)", 1}, ValueCase{"asin(1)", kPi / 2},
        ValueCase{"acos(1)", 0}, ValueCase{"atan(1)", kPi / 4}, ValueCase{"atan2(1, 1)", kPi / 4},
        ValueCase{"sinh(0)", 0}, ValueCase{"cosh(0)", 1}, ValueCase{"tanh(0)", 0}, ValueCase{"asinh(0)", 0},
        ValueCase{"acosh(1)", 0}, ValueCase{"atanh(0)", 0}, ValueCase{"exp(1)", std::numbers::e},
        ValueCase{"ln(e)", 1}, ValueCase{"log(1000)", 3}, ValueCase{"log2(8)", 3}, ValueCase{"sqrt(16)", 4},
        ValueCase{"cbrt(-8)", -2}, ValueCase{"abs(-3)", 3}, ValueCase{"sign(-3)", -1}, ValueCase{"sign(0)", 0},
        ValueCase{"floor(-1.5)", -2}, ValueCase{"ceil(1.2)", 2}, ValueCase{"round(2.5)", 3},
        ValueCase{"trunc(-2.7)", -2}, ValueCase{"min(3; 1, 2)", 1}, ValueCase{"max(3, 7; 5, -1)", 7},
        ValueCase{"mod(7, 3)", 1}, ValueCase{"mod(-7, 3)", 2}, ValueCase{"fact(5)", 120}, ValueCase{"fact(0)", 1},
        ValueCase{"gcd(12, 18)", 6}, ValueCase{"lcm(4, 6)", 12}, ValueCase{"isprime(97)", 1},
        ValueCase{"isprime(1)", 0}, ValueCase{"isprime(4294967291)", 1}, ValueCase{"isprime(4294967297)", 0},
        ValueCase{"isprime(9007199254740881)", 1}, ValueCase{"isprime(9007199254740991)", 0},
        ValueCase{"hypot(3, 4)", 5}, ValueCase{"deg(pi)", 180}, ValueCase{"rad(180)", kPi},
        ValueCase{"(0.123)^2+sin((0.123))*3", 0.123 * 0.123 + std::sin(0.123) * 3}));

struct ErrorCase {
    const char* text;
    int error;
    const char* description;  // the whole description
};

class ExpressionErrors : public KalvexTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ExpressionErrors, ReportNumberAndDescription) {
    const ErrorCase& c = GetParam();
    const EvalResult r = Eval(c.text);
    EXPECT_EQ(r.error, c.error) << c.text;
    EXPECT_EQ(r.description, c.description) << c.text;
    EXPECT_EQ(r.value, 0);
    // The next call works normally.
    EXPECT_EQ(Eval("1+1").value, 2);
    EXPECT_EQ(GetE_Error(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Language, ExpressionErrors,
    ::testing::Values(
        ErrorCase{"zz + 1", kUnknownName, "Unknown name 'zz' at position 1"},
        ErrorCase{"1 + (2", kSyntax, "Syntax error at position 7: expected ')', found end of expression"},
        ErrorCase{"1 +* 2", kSyntax, "Syntax error at position 4: unexpected '*'"},
        ErrorCase{"1 2", kSyntax, "Syntax error at position 3: unexpected '2'"},
        ErrorCase{"1 # 2", kSyntax, "Syntax error at position 3: unexpected character '#'"},
        ErrorCase{"", kEmpty, "Empty expression"},
        ErrorCase{"   ", kEmpty, "Empty expression"},
        ErrorCase{"1/0", kDivisionByZero, "Division by zero at position 2"},
        ErrorCase{"0^-1", kDivisionByZero, "Division by zero: 0 to a negative power at position 2"},
        ErrorCase{"mod(1, 0)", kDivisionByZero, "Division by zero: mod by zero at position 1"},
        ErrorCase{"sqrt(-1)", kDomain, "Domain error: sqrt of a negative number at position 1"},
        ErrorCase{"ln(0)", kDomain, "Domain error: ln of a number that is not positive at position 1"},
        ErrorCase{"log(-1)", kDomain, "Domain error: log of a number that is not positive at position 1"},
        ErrorCase{"asin(2)", kDomain, "Domain error: asin of a number outside -1 to 1 at position 1"},
        ErrorCase{"acosh(0)", kDomain, "Domain error: acosh of a number below 1 at position 1"},
        ErrorCase{"(-8)^(1/3)", kDomain, "Domain error: negative number to a non-integer power at position 5"},
        ErrorCase{"fact(2.5)", kDomain,
                  "Domain error: fact of a number that is not a non-negative integer at position 1"},
        ErrorCase{"fact(171)", kOutOfRange, "Number out of range: fact of a number above 170 at position 1"},
        ErrorCase{"gcd(1.5, 2)", kDomain, "Domain error: gcd of numbers that are not integers at position 1"},
        ErrorCase{"1e400", kOutOfRange, "Number out of range: '1e400' at position 1"},
        ErrorCase{"exp(1000)", kOutOfRange,
                  "Number out of range: the result of exp at position 1 is too large or undefined"},
        ErrorCase{"1e300*1e300", kOutOfRange,
                  "Number out of range: the result of '*' at position 6 is too large or undefined"},
        ErrorCase{"10^400", kOutOfRange,
                  "Number out of range: the result of '^' at position 3 is too large or undefined"},
        ErrorCase{"sin(1, 2)", kArgumentCount, "Wrong number of arguments: sin takes 1, got 2 at position 1"},
        ErrorCase{"atan2(1)", kArgumentCount, "Wrong number of arguments: atan2 takes 2, got 1 at position 1"},
        ErrorCase{"max()", kArgumentCount, "Wrong number of arguments: max takes at least 1, got 0 at position 1"},
        ErrorCase{"nofunc(1)", kUnknownName, "Unknown function 'nofunc' at position 1"},
        ErrorCase{"[nomatrix] + 1", kUnknownMatrix, "Unknown matrix '[nomatrix]' at position 1"}));

TEST_F(KalvexTest, PlotEvaluationGivesNumbersOnly) {
    SetStrMatrix("[A]; 1; 1; 5", 0, 1);
    const EvalResult r = Eval("[A]", 0);
    EXPECT_EQ(r.error, kShape);
    EXPECT_EQ(r.description, "A plot needs a number, got a 1 x 1 matrix");
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(Eval("2*3", 0).value, 6);
}

TEST_F(KalvexTest, ErrorTableHasDescriptionForEveryNumber) {
    for (int e = kSyntax; e <= kEmpty; ++e) {
        EXPECT_STRNE(GetE_ErrDescr(e), "No error") << e;
    }
    EXPECT_STREQ(GetE_ErrDescr(-1), "No error");
}

TEST_F(KalvexTest, NullTextIsAnError) {
    double v = 1;
    EXPECT_NE(e_eval(nullptr, &v, 1), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(GetE_Error(), kEmpty);
}

TEST_F(KalvexTest, FixedTexts) {
    EXPECT_STREQ(KalvexVersion(), "1.0.0.0");
    const std::string about = aAbout(1);
    EXPECT_NE(about.find("Kalvex"), std::string::npos);
    EXPECT_NE(about.find("1.0.0.0"), std::string::npos);
    EXPECT_EQ(about.substr(about.size() - 2), "\r\n");
    const std::string ops = KalvexOperators();
    for (const char* name : {"sin(x)", "isprime(n)", "det([A])", "atan2(y, x)", "pi ", "^ ", "[A]"}) {
        EXPECT_NE(ops.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(ops.find('\n', 0), ops.find("\r\n") + 1);
}

}  // namespace

namespace {

TEST_F(KalvexTest, DebugSwitchTracesEvaluations) {
    SetDebugF(1);
    ::testing::internal::CaptureStderr();
    Eval("1+2");
    Eval("1/0");
    SetDebugF(0);
    Eval("5");
    const std::string trace = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(trace,
              "Kalvex: e_eval(\"1+2\") -> 3\n"
              "Kalvex: e_eval(\"1/0\") -> error 4: Division by zero at position 2\n");
}

}  // namespace
