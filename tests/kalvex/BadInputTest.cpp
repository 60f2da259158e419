#include <functional>
#include <string>

#include "KalvexTestSupport.h"

namespace {

void ExpectRecovered() {
    EXPECT_EQ(Eval("2*(3+4)").value, 14);
    EXPECT_EQ(GetE_Error(), -1);
}

std::string Repeat(const std::string& piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += piece;
    return s;
}

TEST_F(KalvexTest, DeepNestingEndsInAnError) {
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    const std::pair<std::string, const char*> cases[] = {
        {deep, "parentheses"},
        {std::string(100000, '-') + "1", "unary minus chain"},
        {"1" + Repeat("^1", 50000), "power chain"},
        {"2" + Repeat("^-", 50000) + "2", "power and sign chain"},
        {Repeat("sin(", 20000) + "1" + std::string(20000, ')'), "nested calls"},
        {Repeat("[", 50000), "brackets"},
    };
    for (const auto& [text, what] : cases) {
        const EvalResult r = Eval(text);
        EXPECT_NE(r.error, -1) << what;
        EXPECT_FALSE(r.description.empty()) << what;
        ExpectRecovered();
    }
    const EvalResult r = Eval(std::string(1000, '(') + "1" + std::string(1000, ')'));
    EXPECT_EQ(r.error, kTooDeep);
    EXPECT_EQ(r.description,
              "Nesting too deep at position 201: more than 200 levels of parentheses, signs or powers");
    EXPECT_EQ(Eval(std::string(150, '(') + "1" + std::string(150, ')')).value, 1);
}

TEST_F(KalvexTest, LongSumsAreEvaluatedWithoutRecursion) {
    std::string sum = "1";
    for (int i = 0; i < 40000; ++i) sum += "+1";
    EXPECT_EQ(Eval(sum).value, 40001);
}

TEST_F(KalvexTest, MegabyteExpressionIsRejected) {
    std::string big = "1";
    while (big.size() < 1000000) big += "+1";
    const EvalResult r = Eval(big);
    EXPECT_EQ(r.error, kTooLong);
    EXPECT_EQ(r.description, "Expression too long: " + std::to_string(big.size()) +
                                 " characters (limit 100000)");
    ExpectRecovered();
}

TEST_F(KalvexTest, EveryByteInsideTextIsHandled) {
    for (int b = 1; b < 256; ++b) {
        const std::string text = std::string("1+") + static_cast<char>(b) + "2";
        const EvalResult r = Eval(text);
        if (r.error == -1) continue;  // blanks, signs, digits and the like
        EXPECT_FALSE(r.description.empty()) << b;
        ExpectRecovered();
    }
    const EvalResult r = Eval("1+\x01");
    EXPECT_EQ(r.description, "Syntax error at position 3: unexpected byte 0x01");
    EXPECT_EQ(Eval("1+\xE9").description, "Syntax error at position 3: unexpected byte 0xE9");
    // The interface reads up to the terminating zero.
    const char withZero[] = {'4', '\0', '+', 'x', '\0'};
    double v = 0;
    e_eval(withZero, &v, 1);
    EXPECT_EQ(v, 4);
}

// A failure is the failing operation's own: nothing of it reaches the next
// evaluation, whatever kind of call failed and how.
TEST_F(KalvexTest, ErrorsDoNotLeakIntoLaterOperations) {
    SetStrMatrix("[A]; 1; 1; 0", 0, 1);
    const struct {
        const char* failing;
        int error;
    } cases[] = {
        {"ln([A])", kShape},         {"sqrt([A]) + 1", kShape},  {"fact([A])", kShape},
        {"ln(0)", kDomain},          {"mod(1, 0)", kDivisionByZero}, {"ln(0) + ln([A])", kDomain},
        {"ln([A]) + ln(0)", kShape}, {"fact(171)", kOutOfRange},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Eval(c.failing).error, c.error) << c.failing;
        const EvalResult overflow = Eval("exp(1000)");
        EXPECT_EQ(overflow.error, kOutOfRange) << c.failing;
        EXPECT_EQ(overflow.description, "Number out of range: the result of exp at position 1 is too large or undefined")
            << c.failing;
        double integral = 1;
        Integrate("exp(1000*x)", 0, 1, 10, 1, "", &integral);
        EXPECT_EQ(GetE_Error(), kOutOfRange) << c.failing;
    }
}

// Work a text can ask for without bound ends in an error that names the
// limit, after about a second, and the library stays usable.
TEST_F(KalvexTest, UnboundedWorkEndsInTheWorkLimit) {
    std::string integrand;
    for (int i = 0; i < 14000; ++i) integrand += "+x*" + std::to_string(i % 7);
    SetVarFunct("f0(x)", "x", 1);
    for (int k = 1; k <= 60; ++k) {
        SetVarFunct(("f" + std::to_string(k) + "(x)").c_str(),
                    ("f" + std::to_string(k - 1) + "(x) + f" + std::to_string(k - 1) + "(x)").c_str(), 1);
    }
    SetStrMatrix(("[B]; 300; 300" + Repeat("; 1", 300 * 300)).c_str(), 0, 1);
    const std::function<void()> cases[] = {
        [&] { double r; Integrate(integrand.c_str(), 0, 1, 100000000, 0, "x", &r); },
        [] { double r; e_eval("f60(1)", &r, 1); },
        [] { double r; e_eval(("[B]" + Repeat(" + [B]", 1000)).c_str(), &r, 1); },  // memory as well as time
        [] { dSolve(("x" + Repeat(" + (x + 1/3)^100*(x - 1/7)^100", 3000)).c_str(), "x"); },
    };
    for (const auto& run : cases) {
        run();
        EXPECT_EQ(GetE_Error(), kWorkLimit);
        EXPECT_TRUE(LastDescription().starts_with("Work limit exceeded: the operation needs more than 1000000000 steps"))
            << LastDescription();
        ExpectRecovered();
    }
    double r = 0;
    e_eval("f20(1)", &r, 1);
    EXPECT_EQ(r, 1 << 20);
}

TEST_F(KalvexTest, RecursiveDefinitionsEndInAnError) {
    SetVarFunct("f(x)", "f(x)+1", 1);
    EXPECT_EQ(GetE_Error(), -1);
    EvalResult r = Eval("f(1)");
    EXPECT_EQ(r.error, kRecursion);
    EXPECT_EQ(r.description, "Recursion too deep: calls of 'f' nested more than 100 levels at position 1");
    SetVarFunct("a", "b + 1", 1);
    SetVarFunct("b", "a * 2", 1);
    r = Eval("a");
    EXPECT_EQ(r.error, kRecursion);
    ExpectRecovered();
}

}  // namespace
