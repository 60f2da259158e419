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

TEST_F(HandlerTest, StoexprVectorsAndNumbersWithFileout) {
    const ProcessResult r = Run(Lines({
        "stoexpr(y; fileout; n.txt) = 5", // 1
        "vect = [W]; 2; 1; 1; 2",         // 2
        "stoexpr([U]) = [W]*3",           // 3
        "show(U)",                        // 4
        "matr = [R]; 1; 2; 7; 8",         // 5
        "show([R])",                      // 6
    }));
    EXPECT_EQ(r.processed,
              "Ln 1: Expression = 5: (=>fileout n.txt)\r\n       Stored => Number y = 5.0000\r\n\r\n"
              "Ln 3: Expression = [W]*3: " + kNote + "\r\n       Stored => Vect = [U]; 2; 1;3; 6; \r\n\r\n"
              "Ln 4: Show([U])   => Vector: [U]\r\nvE(0)=3.0000\t\r\nvE(1)=6.0000\t\r\n\r\n\r\n"
              "Ln 6: Show([R])   => Matrix: [R]\r\nvE(0)=7.0000\tvE(1)=8.0000\t\r\n\r\n\r\n");
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

TEST_F(HandlerTest, ExprfWritesItsOutputFileEvenWhenTheInputFails) {
    const std::string kMissing =
        "===>  ERROR n. = -2: File Open Error (not found?) (" + Path("nosuch.txt") + ": No such file or directory)";
    WriteFileBytes(Path("plain.txt"), "1+\r\n2\r\n");
    const ProcessResult r = Run(Lines({"exprf = plain.txt", "exprf = nosuch.txt err.txt"}));
    EXPECT_EQ(r.processed, "Ln 1: Expression = 1+2: " + kNote + "\r\n       Result => Number = 3.0000\r\n\r\n"
                           "Ln 2: Expression = : =>(nosuch.txt err.txt)\r\n"
                           "       Result => " + kMissing + "\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(Path("err.txt")), kMissing);
    EXPECT_EQ(r.errorCount, 1);
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

TEST_F(HandlerTest, StoexprKeepsTheMatrixInColumnOrder) {
    // With column order the matrix spec lists column after column, so that the stored
    // copy (and the text written to its file) is the same matrix.
    const ProcessResult r = Run(Lines({"aelemorderset = 1", "matr = [A]; 2; 2; 1; 2; 3; 4",
                                       "stoexpr(B; fileout; b.txt) = [A]", "expr = [B] - [A]"}));
    EXPECT_EQ(r.processed,
              "Ln 3: Expression = [A]: (=>fileout b.txt)\r\n       Stored => Matr = [B]; 2; 2;1; 2; 3; 4; \r\n\r\n"
              "Ln 4: Expression = [B] - [A]: " + kNote +
              "\r\n       Result => Matrix: \r\n  0.0000  0.0000\r\n  0.0000  0.0000\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(Path("b.txt")), "[B]; 2; 2;1; 2; 3; 4; ");
}

TEST_F(HandlerTest, DerivativeParsesBackAndGoesToItsFile) {
    WriteFileBytes(Path("p.txt"), "' a cubic\r\nx^3 + 2x\r\n");
    const ProcessResult r = Run("derivatef = p.txt [d.txt]");
    const std::string derivative = ReadFileBytes(Path("d.txt"));
    EXPECT_EQ(r.processed, "Ln 1: Polyn = x^3 + 2x:\r\n       Derivate of Polyn => " + derivative + "\r\n\r\n");
    // 3x^2 + 2 at x = 2 is 14.
    kx.SetVarFunct("x", "2", 0);
    double value = 0;
    kx.e_eval(derivative.c_str(), &value, 1);
    EXPECT_EQ(kx.GetE_Error(), -1);
    EXPECT_DOUBLE_EQ(value, 14);
}

TEST_F(HandlerTest, FileVariantsWriteTheirErrorTextToo) {
    WriteFileBytes(Path("bad.txt"), "x^2 +\r\n");
    WriteFileBytes(Path("div.txt"), "integrate(0; 1; 10; simpson; x) = 1/x\r\n");
    const ProcessResult r = Run(Lines({"derivatef = bad.txt [d.txt]", "integratef = div.txt i.txt"}));
    const std::string derivativeError = ReadFileBytes(Path("d.txt"));
    const std::string integralError = ReadFileBytes(Path("i.txt"));
    EXPECT_TRUE(std::regex_match(derivativeError, std::regex(R"(===> ERROR n\. = \d+: [^\r\n]+)"))) << derivativeError;
    EXPECT_TRUE(std::regex_match(integralError, std::regex(kLibError))) << integralError;
    EXPECT_EQ(r.processed, "Ln 1: Polyn = x^2 +:\r\n       Derivate of Polyn => " + derivativeError + "\r\n\r\n"
                           "Ln 2: iFunction = 1/x: =>(div.txt i.txt)\r\n       Integral iFunction(0,1) => " +
                               integralError + "\r\n\r\n");
    EXPECT_EQ(r.errorCount, 2);
}

TEST_F(HandlerTest, IntegrateArguments) {
    const ProcessResult r = Run(Lines({
        "integrate(0; 1; 10; simpson) = t^3",     // no variable: the only free name
        "integrate(2.5; 3.5; 10.5; TRAP; x) = 1", // bounds shown halves to even, method lower-cased
        "integrate(0; 1; 1.5; trap; x) = x^2",    // n rounded to 2: (0 + 2 * 0.25 + 1) / 4
    }));
    EXPECT_EQ(r.processed,
              "Ln 1: iFunction = t^3: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0.2500\r\n\r\n"
              "Ln 2: iFunction = 1: " + kNote + "\r\n       Integral iFunction(2,4) => Number = 1.0000\r\n\r\n"
              "Ln 3: iFunction = x^2: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0.3750\r\n\r\n");
    EXPECT_EQ(r.errorCount, 0);
}

} // namespace
