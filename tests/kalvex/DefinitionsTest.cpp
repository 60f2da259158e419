#include <cstring>

#include "KalvexTestSupport.h"

namespace {

double FindNumber(const char* name, int& found) {
    double v = -99;
    found = FindVarVal2(name, 0, &v, nullptr);
    return v;
}

TEST_F(KalvexTest, VariablesAreEvaluatedWhenStored) {
    SetVarFunct("a", "2*3", 0);
    ASSERT_EQ(GetE_Error(), -1);
    SetVarFunct("B", "a + 1", 0);
    SetVarFunct("a", "100", 0);
    EXPECT_EQ(Eval("b").value, 7);
    EXPECT_EQ(Eval("A + B").value, 107);
}

TEST_F(KalvexTest, FindVarVal2FindsEveryNumberVariable) {
    for (const char* text : {"0", "-2.5", "3"}) {
        SetVarFunct("v", text, 0);
        int found = 0;
        const double v = FindNumber("V", found);
        EXPECT_EQ(found, 1) << text;
        EXPECT_EQ(v, std::stod(text));
        EXPECT_EQ(GetE_Error(), -1);
    }
    int found = 1;
    FindNumber("nothing", found);
    EXPECT_EQ(found, 0);
}

TEST_F(KalvexTest, FunctionsWithAndWithoutParameters) {
    SetVarFunct("g(x, y)", "x*y + k", 1);
    ASSERT_EQ(GetE_Error(), -1);
    SetVarFunct("k", "-3", 0);
    EXPECT_EQ(Eval("g(2; 3)").value, 3);
    SetVarFunct("area", "r^2*pi", 1);  // a formula, evaluated at each use
    SetVarFunct("r", "1", 0);
    EXPECT_NEAR(Eval("area").value, 3.14159265358979, 1e-12);
    SetVarFunct("r", "2", 0);
    EXPECT_NEAR(Eval("2area").value, 8 * 3.14159265358979, 1e-12);
    SetVarFunct("h(x)", "g(x, x) + area", 1);
    EXPECT_NEAR(Eval("h(3)").value, 6 + 4 * 3.14159265358979, 1e-12);
}

TEST_F(KalvexTest, FunctionCallErrors) {
    SetVarFunct("g(x, y)", "x + y", 1);
    EvalResult r = Eval("g(1)");
    EXPECT_EQ(r.error, kArgumentCount);
    EXPECT_EQ(r.description, "Wrong number of arguments: g takes 2, got 1 at position 1");
    r = Eval("3 + g");
    EXPECT_EQ(r.error, kArgumentCount);
    EXPECT_EQ(r.description, "Wrong number of arguments: function 'g' takes 2, got none at position 5");
    SetVarFunct("u(x)", "x + zz", 1);
    r = Eval("u(1)");
    EXPECT_EQ(r.description, "Unknown name 'zz' at position 5");
}

TEST_F(KalvexTest, FunctionTextsAreHandedOutWhole) {
    const std::string body = "x^5 + 4*x^4 - 3*x^3 + 2*x^2 - x + 17";  // longer than 20 characters
    SetVarFunct("p(x)", body.c_str(), 1);
    ASSERT_EQ(GetE_Error(), -1);
    EXPECT_EQ(std::string(GetFunctText("P")), body);
    char buf[20];
    double len = sizeof buf;
    EXPECT_EQ(FindVarVal2("p", 1, buf, &len), 1);
    EXPECT_EQ(len, static_cast<double>(body.size()));
    EXPECT_EQ(std::string(buf), body.substr(0, 19));
    len = 0;  // no room: only the length is reported
    EXPECT_EQ(FindVarVal2("p", 1, nullptr, &len), 1);
    EXPECT_EQ(len, static_cast<double>(body.size()));
    EXPECT_EQ(GetFunctText("nothing"), nullptr);
    EXPECT_EQ(GetE_Error(), kUnknownName);
}

TEST_F(KalvexTest, VariableAndFunctionShareNames) {
    SetVarFunct("q", "5", 0);
    SetVarFunct("q", "7 + 1", 1);
    int found = 1;
    FindNumber("q", found);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(Eval("q").value, 8);
    SetVarFunct("q", "2", 0);
    EXPECT_EQ(GetFunctText("q"), nullptr);
    EXPECT_EQ(Eval("q").value, 2);
}

struct BadDefinition {
    const char* name;
    const char* text;
    int kind;
    int error;
    const char* description;
};

class BadDefinitions : public KalvexTest, public ::testing::WithParamInterface<BadDefinition> {};

TEST_P(BadDefinitions, AreRejected) {
    const BadDefinition& c = GetParam();
    SetVarFunct(c.name, c.text, c.kind);
    EXPECT_EQ(GetE_Error(), c.error);
    EXPECT_EQ(LastDescription(), c.description);
    SetVarFunct("ok", "1", 0);
    EXPECT_EQ(GetE_Error(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, BadDefinitions,
    ::testing::Values(
        BadDefinition{"sin", "1", 0, kBadName, "Invalid name 'sin': it is a built-in function"},
        BadDefinition{"PI", "1", 0, kBadName, "Invalid name 'PI': it is a built-in constant"},
        BadDefinition{"2x", "1", 0, kBadName,
                      "Invalid name '2x': a name is a letter or '_' followed by letters, digits or '_'"},
        BadDefinition{"x", "1/0", 0, kDivisionByZero, "Division by zero at position 2"},
        BadDefinition{"x", "", 0, kEmpty, "Empty expression"},
        BadDefinition{"f", "   ", 1, kEmpty, "Empty expression: the function f has no body"},
        BadDefinition{"f(x", "x", 1, kBadName, "Invalid function head 'f(x': expected ')' at its end"},
        BadDefinition{"f(x, x)", "x", 1, kBadName, "Invalid function head 'f(x, x)': parameter 'x' appears twice"},
        BadDefinition{"f(x,)", "x", 1, kBadName, "Invalid function head 'f(x,)': missing parameter"},
        BadDefinition{"f(x)", "x +", 1, kSyntax,
                      "Function f: Syntax error at position 4: unexpected end of expression"},
        BadDefinition{"f", "1", 2, kBadArgument, "Invalid argument: SetVarFunct kind 2 (use 0 or 1)"}));

TEST_F(KalvexTest, ResetForgetsEverything) {
    SetVarFunct("a", "1", 0);
    SetVarFunct("f(x)", "x", 1);
    SetStrMatrix("[M]; 1; 1; 1", 0, 1);
    ReSetEqParser();
    EXPECT_EQ(GetE_Error(), -1);
    EXPECT_EQ(Eval("a").error, kUnknownName);
    EXPECT_EQ(Eval("f(1)").error, kUnknownName);
    int r = 0;
    int c = 0;
    EXPECT_EQ(FindMatrix("[M]", 33, &r, &c), nullptr);
}

}  // namespace
