// Each statement through the scanner against the real numeric library: the
// exact result blocks, the counters and the files the statements write.
#include <filesystem>
#include <regex>
#include <string>

#include "StatementsHarness.h"

namespace {

const std::string kNote(20, ' ');
// A library error text in the two-space form, as a regular expression.
const std::string kLibError = R"(===>  ERROR n\. = \d+: [^\r\n]+)";

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

using HandlerTest = StatementsTest;

TEST_F(HandlerTest, ExprNumbersEmptyAndErrors) {
    const ProcessResult r = Run(Lines({"expr = 1/4", "expr =", "Expr = 0.1 + 0.2 ' sum", "expr = 1/0", "expr = -1/3"}));
    EXPECT_TRUE(std::regex_match(
        r.processed,
        std::regex("Ln 1: Expression = 1/4: " + kNote + "\r\n       Result => Number = 0.2500\r\n\r\n"
                   "Ln 2: Expression = : " + kNote + "\r\n       Result => \r\n\r\n"
                   "Ln 3: Expression = 0.1 \\+ 0.2: " + kNote + "\r\n       Result => Number = 0.3000\r\n\r\n"
                   "Ln 4: Expression = 1/0: " + kNote + "\r\n       Result => " + kLibError + "\r\n\r\n"
                   "Ln 5: Expression = -1/3: " + kNote + "\r\n       Result => Number = -0.3333\r\n\r\n")))
        << r.processed;
    EXPECT_EQ(r.commandCount, 5);
    EXPECT_EQ(r.errorCount, 1);
}

TEST_F(HandlerTest, DecimalsOption) {
    const std::pair<int, std::string> cases[] = {
        {0, "Number = 100"}, {10, "Number = 0.3333333333"}, {-1, "Number = 0.3333333333"}, {2, "Number = 0.33"}};
    for (const auto& [decimals, text] : cases) {
        opt.decimals = decimals;
        const std::string expr = decimals == 0 ? "100" : "1/3";
        EXPECT_EQ(Run("expr = " + expr).processed,
                  "Ln 1: Expression = " + expr + ": " + kNote + "\r\n       Result => " + text + "\r\n\r\n");
    }
}

TEST_F(HandlerTest, ExprListsMatricesAndVectors) {
    const ProcessResult r = Run(Lines({"matr = [A]; 2; 2; 1; 2; 3; 4", "vect = [V]; 2; 1; 5; 6", "expr = [A]*2",
                                       "expr = [V]"}));
    EXPECT_EQ(r.processed, "Ln 3: Expression = [A]*2: " + kNote +
                               "\r\n       Result => Matrix: \r\n  2.0000  4.0000\r\n  6.0000  8.0000\r\n\r\n"
                               "Ln 4: Expression = [V]: " + kNote +
                               "\r\n       Result => Vector: \r\n  5.0000\r\n  6.0000\r\n\r\n");
    EXPECT_EQ(r.errorCount, 0);
}

TEST_F(HandlerTest, StoexprNumbersAndMatricesWithFileout) {
    const ProcessResult r = Run(Lines({
        "stoexpr(x) = 2*3",                          // 1
        "show(x)",                                   // 2
        "matr = [A]; 2; 2; 1; 2; 3; 4",              // 3
        "stoexpr(M; fileout; m.txt) = [A]/4",        // 4
        "show(M)",                                   // 5
        "stoexpr(y; fileout; n.txt) = 5",            // 6
        "vect = [W]; 2; 1; 1; 2",                    // 7
        "stoexpr([U]) = [W]*3",                      // 8
        "show(U)",                                   // 9
        "matr = [R]; 1; 2; 7; 8",                    // 10
        "show([R])",                                 // 11
        "expr = x + y",                              // 12
    }));
    EXPECT_EQ(r.processed,
              "Ln 1: Expression = 2*3: " + kNote + "\r\n       Stored => Number x = 6.0000\r\n\r\n"
              "Ln 2: Show(x)   => Number x = 6.0000\r\n\r\n"
              "Ln 4: Expression = [A]/4: (=>fileout m.txt)\r\n       Stored => Matr = [M]; 2; 2;0.25; 0.5; 0.75; 1; "
              "\r\n\r\n"
              "Ln 5: Show([M])   => Matrix: [M]\r\nmA(0,0)=0.2500\tmA(0,1)=0.5000\t\r\nmA(1,0)=0.7500\tmA(1,1)=1.0000\t"
              "\r\n\r\n\r\n"
              "Ln 6: Expression = 5: (=>fileout n.txt)\r\n       Stored => Number y = 5.0000\r\n\r\n"
              "Ln 8: Expression = [W]*3: " + kNote + "\r\n       Stored => Vect = [U]; 2; 1;3; 6; \r\n\r\n"
              "Ln 9: Show([U])   => Vector: [U]\r\nvE(0)=3.0000\t\r\nvE(1)=6.0000\t\r\n\r\n\r\n"
              "Ln 11: Show([R])   => Matrix: [R]\r\nvE(0)=7.0000\tvE(1)=8.0000\t\r\n\r\n\r\n"
              "Ln 12: Expression = x + y: " + kNote + "\r\n       Result => Number = 11.0000\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(Path("m.txt")), "[M]; 2; 2;0.25; 0.5; 0.75; 1; ");
    EXPECT_FALSE(std::filesystem::exists(Path("n.txt"))) << "a number is not written";
    EXPECT_EQ(r.errorCount, 0);
}

TEST_F(HandlerTest, StoexprStoresTheShownDecimals) {
    opt.decimals = 0;
    EXPECT_EQ(Run(Lines({"stoexpr(h) = 2.5", "expr = h*10"})).processed,
              "Ln 1: Expression = 2.5: " + kNote + "\r\n       Stored => Number h = 2\r\n\r\n"
              "Ln 2: Expression = h*10: " + kNote + "\r\n       Result => Number = 20\r\n\r\n");
}

TEST_F(HandlerTest, ShowFindsEveryNumberAndTheWholeFunction) {
    const std::string body = "x^2 + 3*x + 1 + sqrt(x) + 12345.678";
    const ProcessResult r = Run(Lines({"var = z; 0", "var = n; -2.5", "var = p; 7/4", "funct = f(x); " + body,
                                       "show(z)", "show(n)", "show(p)", "show(f)", "show(zz)", "show()"}));
    EXPECT_EQ(r.processed, "Ln 5: Show(z)   => Number z = 0.0000\r\n\r\n"
                           "Ln 6: Show(n)   => Number n = -2.5000\r\n\r\n"
                           "Ln 7: Show(p)   => Number p = 1.7500\r\n\r\n"
                           "Ln 8: Show(f)   => Function f = " + body + "\r\n\r\n"
                           "Ln 9: Show([zz])   => not found\r\n\r\n"
                           "Ln 10: Show([])   => not found\r\n\r\n");
    EXPECT_EQ(r.commandCount, 10);
    EXPECT_EQ(r.errorCount, 0);
}

TEST_F(HandlerTest, FunctionsFromTextAndFiles) {
    WriteFileBytes(Path("body.txt"), "' the square\r\nx*x\r\n");
    const ProcessResult r = Run(Lines({"funct = sq(x); x*x", "functf = sq2(x) body.txt", "expr = sq(3) + sq2(4)",
                                       "funct = g;", "functf = h missing.txt", "functf = h"}));
    EXPECT_EQ(r.processed,
              "Ln 3: Expression = sq(3) + sq2(4): " + kNote + "\r\n       Result => Number = 25.0000\r\n\r\n"
              "Ln 4: Expression = g;: " + kNote + "\r\n       Result => ===>  ERROR n. = 0: \r\n\r\n"
              "Ln 5: Expression = h missing.txt: " + kNote +
              "\r\n       Result => ===>  ERROR n. = -2: File Open Error (not found?)\r\n\r\n"
              "Ln 6: Expression = h: " + kNote +
              "\r\n       Result => ===>  ERROR n. = -2: File Open Error (not found?)\r\n\r\n");
    EXPECT_EQ(r.errorCount, 3);
}

TEST_F(HandlerTest, ExprfReadsAndWritesFiles) {
    WriteFileBytes(Path("in.txt"), "' a comment line\r\nResult = 2*(3+PI-pi) ' twice\r\n");
    WriteFileBytes(Path("plain.txt"), "1+\r\n2\r\n");
    const ProcessResult r = Run(Lines({"exprf = in.txt [out.txt]", "exprf = plain.txt", "exprf = nosuch.txt err.txt"}));
    EXPECT_EQ(r.processed,
              "Ln 1: Expression = 2*(3+pi-pi): =>(in.txt [out.txt])\r\n       Result => Number = 6.0000\r\n\r\n"
              "Ln 2: Expression = 1+2: " + kNote + "\r\n       Result => Number = 3.0000\r\n\r\n"
              "Ln 3: Expression = : =>(nosuch.txt err.txt)\r\n"
              "       Result => ===>  ERROR n. = -2: File Open Error (not found?)\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(Path("out.txt")), "Number = 6.0000");
    EXPECT_EQ(ReadFileBytes(Path("err.txt")), "===>  ERROR n. = -2: File Open Error (not found?)");
    EXPECT_EQ(r.errorCount, 1);
}

TEST_F(HandlerTest, MatrixStatementsReportOnlyErrors) {
    WriteFileBytes(Path("c.txt"), "[C]; 1; 2;\r\n' values\r\n 5; 6\r\n");
    const ProcessResult r = Run(Lines({"matr = [A]; 2; 2; 1; 2; 3; 4", "matrf = c.txt", "vectf = missing.txt",
                                       "vect = [V]; 2; 1; 1", "show(C)"}));
    EXPECT_TRUE(std::regex_match(
        r.processed, std::regex("Ln 3: Expression = : " + kNote + "\r\n     Result => " + kLibError + "\r\n\r\n"
                                "Ln 4: Expression = \\[V\\]; 2; 1; 1: " + kNote + "\r\n     Result => " + kLibError +
                                "\r\n\r\n"
                                "Ln 5: Show\\(\\[C\\]\\)   => Matrix: \\[C\\]\r\nvE\\(0\\)=5.0000\tvE\\(1\\)=6.0000\t"
                                "\r\n\r\n\r\n")))
        << r.processed;
    EXPECT_EQ(r.errorCount, 2);
}

TEST_F(HandlerTest, DimxBlocksSpanLinesAndEndAtTheNextMatrix) {
    const ProcessResult r = Run(Lines({
        "dimx = A(2,2); a11 = 1; a12 = 2",             // 1 block A
        "  DIMX = A(2,2); a21 = 3; a22 = 4 ' row two", // 2
        "expr = [A]",                                  // 3
        "dimx = B(1,2); x = 1; y = 2",                 // 4 block B
        "dimx = C(1,1); z = 5",                        // 5 block C
        "show(B)",                                     // 6
        "show(C)",                                     // 7
        "dimx = D(2,2); a = 1;; b = 2",                // 8 stops at the empty field
        "dimx = E(1,1); e = 9",                        // 9 at the end of the script
    }));
    EXPECT_TRUE(std::regex_match(
        r.processed,
        std::regex("Ln 3: Expression = \\[A\\]: " + kNote +
                   "\r\n       Result => Matrix: \r\n  1.0000  2.0000\r\n  3.0000  4.0000\r\n\r\n"
                   "Ln 6: Show\\(\\[B\\]\\)   => Matrix: \\[B\\]\r\nvE\\(0\\)=1.0000\tvE\\(1\\)=2.0000\t\r\n\r\n\r\n"
                   "Ln 7: Show\\(\\[C\\]\\)   => Vector: \\[C\\]\r\nvE\\(0\\)=5.0000\t\r\n\r\n\r\n"
                   "Ln 8: Expression = :\r\n       Result => " + kLibError + "\r\n\r\n")))
        << r.processed;
    EXPECT_EQ(r.commandCount, 8);
    EXPECT_EQ(r.errorCount, 1);
    EXPECT_EQ(Run("show(E)").processed, "Ln 1: Show([E])   => Vector: [E]\r\nvE(0)=9.0000\t\r\n\r\n\r\n");
}

TEST_F(HandlerTest, ElementOrder) {
    const ProcessResult r = Run(Lines({"aelemorderex()", "aelemorderset = 1", "aElemOrderEx()", "aelemorderset = $0",
                                       "aelemorderex()"}));
    EXPECT_EQ(r.processed, "Ln 1: aElemOrderEx = by Row\r\n\r\nLn 3: aElemOrderEx = by Col\r\n\r\n"
                           "Ln 5: aElemOrderEx = by Row\r\n\r\n");
    EXPECT_EQ(r.commandCount, 5);
}

TEST_F(HandlerTest, SolvePolynomials) {
    const ProcessResult r = Run(Lines({"solvepolyn = x^3 - 8", "varpolyn = t", "solvepolyn = 2t - 3",
                                       "solvepolyn = t^2 + 1"}));
    EXPECT_TRUE(std::regex_match(
        r.processed, std::regex("Ln 1: Polyn = x\\^3 - 8:\r\n       Solution Polyn => Number = 2.0000\r\n\r\n"
                                "Ln 3: Polyn = 2t - 3:\r\n       Solution Polyn => Number = 1.5000\r\n\r\n"
                                "Ln 4: Polyn = t\\^2 \\+ 1:\r\n       Solution Polyn => " + kLibError + "\r\n\r\n")))
        << r.processed;
    EXPECT_EQ(r.errorCount, 1);
}

TEST_F(HandlerTest, DerivativesAndBothErrorForms) {
    WriteFileBytes(Path("p.txt"), "' a cubic\r\nx^3 + 2x\r\n");
    const ProcessResult r = Run(Lines({"derivate = x^2", "derivatef = p.txt [d.txt]", "derivate = x^", "expr = 1/0"}));
    const std::string derivative = kx.lPoly_dydx("x^3 + 2x", "");
    EXPECT_TRUE(std::regex_match(
        r.processed,
        std::regex("Ln 1: Polyn = x\\^2:\r\n       Derivate of Polyn => [^\r\n]+\r\n\r\n"
                   "Ln 2: Polyn = x\\^3 \\+ 2x:\r\n       Derivate of Polyn => [^\r\n]+\r\n\r\n"
                   "Ln 3: Polyn = x\\^:\r\n       Derivate of Polyn => ===> ERROR n\\. = \\d+: [^\r\n]+\r\n\r\n"
                   "Ln 4: Expression = 1/0: " + kNote + "\r\n       Result => " + kLibError + "\r\n\r\n")))
        << r.processed;
    EXPECT_NE(r.processed.find("Derivate of Polyn => " + derivative + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(Path("d.txt")), derivative);
    EXPECT_EQ(r.errorCount, 2);
    // The derivative parses back: 3x^2 + 2 at x = 2 is 14.
    kx.SetVarFunct("x", "2", 0);
    double value = 0;
    kx.e_eval(derivative.c_str(), &value, 1);
    EXPECT_EQ(kx.GetE_Error(), -1);
    EXPECT_DOUBLE_EQ(value, 14);
}

TEST_F(HandlerTest, Integrals) {
    WriteFileBytes(Path("int.txt"), "' the area under 2x\r\nintegrate(0; 3; 30; simpson; x) = 2*x\r\n");
    const ProcessResult r = Run(Lines({
        "integrate(0; 2; 100; trap; x) = x^2",
        "integrate(0.5; 1.5; 10; simpson; X) = X^2",
        "integrate(0; 1; 10; simpson) = t^3",
        "integratef = int.txt [res.txt]",
        "integrate(2.5; 3.5; 10.5; TRAP; x) = 1",
    }));
    EXPECT_EQ(r.processed,
              "Ln 1: iFunction = x^2: " + kNote + "\r\n       Integral iFunction(0,2) => Number = 2.6668\r\n\r\n"
              "Ln 2: iFunction = X^2: " + kNote + "\r\n       Integral iFunction(0,2) => Number = 1.0833\r\n\r\n"
              "Ln 3: iFunction = t^3: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0.2500\r\n\r\n"
              "Ln 4: iFunction = 2*x: =>(int.txt [res.txt])\r\n       Integral iFunction(0,3) => Number = 9.0000\r\n\r\n"
              "Ln 5: iFunction = 1: " + kNote + "\r\n       Integral iFunction(2,4) => Number = 1.0000\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(Path("res.txt")), "Number = 9.0000");
    EXPECT_EQ(r.errorCount, 0);
}

TEST_F(HandlerTest, AboutDebugPauseAndVarWriteNothingButAbout) {
    const std::string about = kx.aAbout(1);
    const ProcessResult r = Run(Lines({"var = a; 1", "debug = 0", "pause()", "aabout()"}));
    std::string expected;
    for (std::size_t start = 0, end; (end = about.find('\n', start)) != std::string::npos; start = end + 1) {
        expected += '\'';
        expected.append(about, start, end - start + 1);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(r.processed, expected);
    EXPECT_EQ(r.commandCount, 4);
    EXPECT_EQ(r.errorCount, 0);
}

} // namespace
