// Every statement with arguments missing, empty, misplaced or malformed: each
// gives its error block or nothing, counts as it should, and the run goes on.
#include <regex>
#include <string>

#include "StatementsHarness.h"

namespace {

struct BadCase {
    std::string line;
    std::string output; // the whole output of the line, as a regular expression
    int errors;
};

const std::string kNote(20, ' ');
const std::string kLib = R"(===>  ERROR n\. = \d+: [^\r\n]+)";
const std::string kLibOneSpace = R"(===> ERROR n\. = \d+: [^\r\n]+)";
const std::string kStatus = R"(===>  ERROR n\. = -2: File Open Error \(not found\?\))";
// A statement's file that cannot be read is named with the reason.
const std::string kMissing = kStatus + R"( \(/[^\r\n]*/nosuchfile\.txt: No such file or directory\))";
const std::string kUnnamed = kStatus + R"( \(no file is named\))";

std::string ExprBlock(const std::string& expression, const std::string& result, const std::string& note = kNote) {
    return "Ln 1: Expression = " + expression + ": " + note + "\r\n       Result => " + result + "\r\n\r\n";
}

using BadInputTest = StatementsTest;

TEST_F(BadInputTest, EveryStatementSurvivesBadArguments) {
    const std::string aboutLines = R"(('[^\n]*\n)+)";
    const BadCase cases[] = {
        {"aabout = nonsense", aboutLines, 0},
        {"show()", R"(Ln 1: Show\(\[\]\)   => not found\r\n\r\n)", 0},
        {"show(", R"(Ln 1: Show\(\[\]\)   => not found\r\n\r\n)", 0},
        {"show)x( = 1", "", 0},
        {"show = x", R"(Ln 1: Show\(\[\]\)   => not found\r\n\r\n)", 0},
        {"solvepolyn =", "Ln 1: Polyn = :\r\n       Solution Polyn => " + kLib + "\r\n\r\n", 1},
        {"solvepolyn = x^2 +* 1", R"(Ln 1: Polyn = x\^2 \+\* 1:)" "\r\n       Solution Polyn => " + kLib + "\r\n\r\n", 1},
        {"dimx = (", "Ln 1: Expression = :\r\n       Result => " + kLib + "\r\n\r\n", 1},
        {"dimx =", "Ln 1: Expression = :\r\n       Result => " + kLib + "\r\n\r\n", 1},
        {"dimx = A(2,x); a = 1", "Ln 1: Expression = :\r\n       Result => " + kLib + "\r\n\r\n", 1},
        {"dimx = A(-1,2); a = 1; b = 2", "Ln 1: Expression = :\r\n       Result => " + kLib + "\r\n\r\n", 1},
        {"integrate(;;;;) =", "Ln 1: iFunction = : " + kNote + "\r\n       Integral iFunction\\(0,0\\) => " + kLib +
                                  "\r\n\r\n", 1},
        {"integrate = x", "Ln 1: iFunction = x: " + kNote + "\r\n       Integral iFunction\\(0,0\\) => " +
                              "(Number = 0.0000|" + kLib + ")\r\n\r\n", -1},
        {"integrate(0; 1; -5; trap; x) = x", "Ln 1: iFunction = x: " + kNote +
                                                 "\r\n       Integral iFunction\\(0,1\\) => " + kLib + "\r\n\r\n", 1},
        {"integrate(0; 1; 1e12; trap; x) = x", "Ln 1: iFunction = x: " + kNote +
                                                 "\r\n       Integral iFunction\\(0,1\\) => " + kLib + "\r\n\r\n", 1},
        {"integrate(0; 1; 10; simpson; y) = x", "Ln 1: iFunction = x: " + kNote +
                                                    "\r\n       Integral iFunction\\(0,1\\) => " + kLib + "\r\n\r\n", 1},
        {"integratef =", "Ln 1: iFunction = : " + kNote + "\r\n       Integral iFunction\\(0,0\\) => " + kUnnamed +
                             "\r\n\r\n", 1},
        {"integratef = nosuchfile.txt", "Ln 1: iFunction = : " + kNote + "\r\n       Integral iFunction\\(0,0\\) => " +
                                            kMissing + "\r\n\r\n", 1},
        {"stoexpr() = 1", "Ln 1: Expression = 1: " + kNote + "\r\n       Stored => " + kLib + "\r\n\r\n", 1},
        {"stoexpr = 1", "Ln 1: Expression = 1: " + kNote + "\r\n       Stored => " + kLib + "\r\n\r\n", 1},
        {"stoexpr(x) =", "Ln 1: Expression = : " + kNote + "\r\n       Stored => " + kLib + "\r\n\r\n", 1},
        {"stoexpr(x;;) = 1+", "Ln 1: Expression = 1\\+: " + kNote + "\r\n       Stored => " + kLib + "\r\n\r\n", 1},
        {"expr =", ExprBlock("", ""), 0},
        {"expr = 2 +", ExprBlock("2 \\+", kLib), 1},
        {"expr(2)", ExprBlock("2\\)", kLib), 1},
        {"expr = sqrt(-1)", ExprBlock("sqrt\\(-1\\)", kLib), 1},
        {"expr = [Q]", ExprBlock("\\[Q\\]", kLib), 1},
        {"expr = \x01\x02\xff", ExprBlock("[^:]{3}", kLib), 1},
        {"exprf =", ExprBlock("", kUnnamed), 1},
        {"exprf = nosuchfile.txt", ExprBlock("", kMissing), 1},
        {"derivate =", "Ln 1: Polyn = :\r\n       Derivate of Polyn => " + kLibOneSpace + "\r\n\r\n", 1},
        {"derivate = sin(x)", R"(Ln 1: Polyn = sin\(x\):)" "\r\n       Derivate of Polyn => " + kLibOneSpace +
                                  "\r\n\r\n", 1},
        {"derivatef = nosuchfile.txt", "Ln 1: Polyn = :\r\n       Derivate of Polyn => " + kMissing + "\r\n\r\n", 1},
        {"matr = [A]; -1; 2", "Ln 1: Expression = \\[A\\]; -1; 2: " + kNote + "\r\n     Result => " + kLib + "\r\n\r\n", 1},
        {"matr =", "Ln 1: Expression = : " + kNote + "\r\n     Result => " + kLib + "\r\n\r\n", 1},
        {"matr = [A]; 1; 1; x", "Ln 1: Expression = \\[A\\]; 1; 1; x: " + kNote + "\r\n     Result => " + kLib +
                                    "\r\n\r\n", 1},
        {"matrf =", "Ln 1: Expression = : " + kNote + "\r\n     Result => " + kUnnamed + "\r\n\r\n", 1},
        {"vect = A; 2", "Ln 1: Expression = A; 2: " + kNote + "\r\n     Result => " + kLib + "\r\n\r\n", 1},
        {"vectf = nosuchfile.txt", "Ln 1: Expression = : " + kNote + "\r\n     Result => " + kMissing + "\r\n\r\n", 1},
        {"funct =", ExprBlock("", "===>  ERROR n\\. = 0: "), 1},
        {"funct = f", ExprBlock("f", "===>  ERROR n\\. = 0: "), 1},
        {"functf = f", ExprBlock("f", kUnnamed), 1},
        {"functf =", ExprBlock("", kUnnamed), 1},
        {"pause(", "", 0},
        {"pause = 1", "", 0},
        {"varpolyn =", "", 0},
        {"varpolyn(t)", "", 0},
        {"aelemorderset =", "", 0},
        {"aelemorderset = abc", "", 0},
        {"aelemorderex = 7", "Ln 1: aElemOrderEx = by Row\r\n\r\n", 0},
        {"var =", ExprBlock("", kLib), 1},
        {"var = ; 5", ExprBlock("; 5", kLib), 1},
        {"var = a; 1+", ExprBlock("a; 1\\+", kLib), 1},
        {"var = a; 1/0", ExprBlock("a; 1/0", kLib), 1},
        {"var = sin; 1", ExprBlock("sin; 1", kLib), 1},
        {"funct = f(x); x+", ExprBlock("f\\(x\\); x\\+", kLib), 1},
        {"funct = f(x; 2", ExprBlock("f\\(x; 2", kLib), 1},
        {"debug =", "", 0},
        {"debug = -$zz", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("line «" + c.line + "»");
        kx.ReSetEqParser();
        kx.aElemOrderSet(0);
        const ProcessResult r = Run(c.line + "\r\nexpr = 1+1\r\n");
        const std::string next = "Ln 2: Expression = 1\\+1: " + kNote + "\r\n       Result => Number = 2.0000\r\n\r\n";
        EXPECT_TRUE(std::regex_match(r.processed, std::regex(c.output + next))) << r.processed;
        EXPECT_EQ(r.commandCount, 2);
        if (c.errors >= 0) {
            EXPECT_EQ(r.errorCount, c.errors);
        }
    }
}

TEST_F(BadInputTest, MegabyteExpressions) {
    std::string sum = "1";
    while (sum.size() < (1u << 20)) sum += "+1";
    std::string nested(1u << 19, '(');
    nested += '1';
    nested.append(1u << 19, ')');
    const ProcessResult r = Run("expr = " + sum + "\r\nexpr = " + nested + "\r\nexpr = 2*3\r\n");
    // Both are shown in full and end in the library's error text; the run goes on.
    const std::regex block(": " + kNote + "\r\n       Result => " + kLib + "\r\n\r\n");
    EXPECT_EQ(r.processed.substr(0, 20 + sum.size()), "Ln 1: Expression = " + sum + ":");
    EXPECT_EQ(std::distance(std::sregex_iterator(r.processed.begin(), r.processed.end(), block), std::sregex_iterator()),
              2);
    EXPECT_NE(r.processed.find("Ln 2: Expression = " + nested + ":"), std::string::npos);
    EXPECT_TRUE(r.processed.ends_with("Ln 3: Expression = 2*3: " + kNote + "\r\n       Result => Number = 6.0000\r\n\r\n"));
    EXPECT_EQ(r.errorCount, 2);
}

TEST_F(BadInputTest, DimxBlockOfManyLines) {
    constexpr int kRows = 100000;
    std::string script = "dimx = A(" + std::to_string(kRows) + ",1); v = 1\r\n";
    for (int k = 1; k < kRows; ++k) script += "dimx = A(1,1); v = " + std::to_string(k % 7) + " ' row\r\n";
    script += "expr = 2+2\r\n";
    const ProcessResult r = Run(script);
    EXPECT_EQ(r.processed, "Ln " + std::to_string(kRows + 1) + ": Expression = 2+2: " + kNote +
                               "\r\n       Result => Number = 4.0000\r\n\r\n");
    EXPECT_EQ(r.commandCount, 2);
    EXPECT_EQ(r.errorCount, 0);
    int rows = 0;
    int cols = 0;
    const double* elements = kx.FindMatrix("[A]", 33, &rows, &cols);
    ASSERT_NE(elements, nullptr);
    EXPECT_EQ(rows, kRows);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(elements[kRows - 1], (kRows - 1) % 7);
}

} // namespace
