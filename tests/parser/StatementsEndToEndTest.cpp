// Whole runs of the real binary on scripts that use every statement: the
// processed outputs (run time masked) and the files the statements write are
// compared byte for byte.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "RunTessara.h"
#include "kalvex.h"

namespace {

const std::string kNote(20, ' ');
const std::string kStars = "'" + std::string(84, '*') + "\r\n";

std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// Runs script.kvx in dir with args and returns the whole output with the run
// time masked. The header is checked against the header of an empty script
// run the same way, with the counters put in.
class ScriptRun {
public:
    explicit ScriptRun(std::vector<std::string> options = {}) : options_(std::move(options)) {}

    std::string Output(const std::string& script) {
        return Run(script);
    }

    std::string ExpectedHeader(int commands, int errors) {
        std::string header = Run("");
        const std::string zero = "'Executed Commands: 0, Errors found: 0\r\n";
        const auto at = header.find(zero);
        if (at == std::string::npos) return "header without counters: " + header;
        return header.replace(at, zero.size(), "'Executed Commands: " + std::to_string(commands) +
                                                   ", Errors found: " + std::to_string(errors) + "\r\n");
    }

    const TempDir& dir() const { return dir_; }

private:
    std::string Run(const std::string& script) {
        WriteFileBytes(dir_.file("script.kvx"), script);
        std::vector<std::string> args = {"/i", dir_.file("script.kvx"), "/o", dir_.file("out.kvx")};
        args.insert(args.end(), options_.begin(), options_.end());
        const RunResult r = RunTessara(dir_, args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return MaskRunTime(ReadFileBytes(dir_.file("out.kvx")));
    }

    TempDir dir_;
    std::vector<std::string> options_;
};

std::string AboutLines() {
    const std::string about = aAbout(1);
    std::string lines;
    for (std::size_t start = 0, end; (end = about.find('\n', start)) != std::string::npos; start = end + 1) {
        lines += '\'';
        lines.append(about, start, end - start + 1);
    }
    return lines;
}

TEST(StatementsEndToEnd, EveryStatementInSuccessAndError) {
    ScriptRun run;
    const TempDir& dir = run.dir();
    WriteFileBytes(dir.file("e.txt"), "' the value\r\nTotal = 2*PI ' doubled\r\n");
    WriteFileBytes(dir.file("sq.txt"), "x*x\r\n");
    WriteFileBytes(dir.file("b.txt"), "[B]; 2; 2;\r\n1; 0;\r\n0; 2\r\n");
    WriteFileBytes(dir.file("w.txt"), "[W]; 2; 1; 3; 4");
    WriteFileBytes(dir.file("p.txt"), "t^2 + 5t\r\n");
    WriteFileBytes(dir.file("i.txt"), "integrate(1; 3; 20; simpson; u) = 3*u^2\r\n");
    const std::string script = Crlf({
        "''Every statement, in success and in error",               // 1
        "var = a; 3",                                                 // 2
        "funct = f(x); x^2 + a*x + 1",                                // 3
        "show(a)",                                                    // 4
        "show(f)",                                                    // 5
        "expr = f(2) + 1/4",                                          // 6
        "expr = 1/0",                                                 // 7
        "stoexpr(r) = sqrt(2)",                                       // 8
        "matr = [A]; 2; 2; 1; 2; 3; 4",                               // 9
        "matr = [B]; 2; 2; 1",                                        // 10
        "dimx = C(2,3); c11 = 1; c12 = 2; c13 = 3",                   // 11
        "  dimx = C(2,3); c21 = 4; c22 = 5; c23 = 6 ' second row",    // 12
        "dimx = V(3,1); v1 = 1; v2 = 0; v3 = -1",                     // 13
        "expr = [C]*[V]",                                             // 14
        "show(C)",                                                    // 15
        "stoexpr(M; fileout; m.txt) = [A]^-1",                        // 16
        "show(M)",                                                    // 17
        "exprf = e.txt [e-out.txt]",                                  // 18
        "exprf = nosuch.txt",                                         // 19
        "funct = g;",                                                 // 20
        "functf = sq(x) sq.txt",                                      // 21
        "expr = sq(12)",                                              // 22
        "matrf = b.txt",                                              // 23
        "vectf = w.txt",                                              // 24
        "expr = [B]*[W]",                                             // 25
        "aelemorderex()",                                             // 26
        "varpolyn = t",                                               // 27
        "solvepolyn = t^3 - 27",                                      // 28
        "solvepolyn = t^2 + 1",                                       // 29
        "derivate = t^3 - 2t",                                        // 30
        "derivatef = p.txt [p-out.txt]",                              // 31
        "derivate = t^",                                              // 32
        "integrate(0; 2; 100; trap; x) = x^2",                        // 33
        "integrate(0.5; 1.5; 10; simpson; X) = X^2",                  // 34
        "integratef = i.txt [i-out.txt]",                             // 35
        "integrate(0; 1; 10; simpson; x) = 1/x",                      // 36
        "debug = 0",                                                  // 37
        "pause()",                                                    // 38
        "'a comment line that vanishes",                              // 39
        "x = 1",                                                      // 40
        "aabout()",                                                   // 41
    });
    const std::string body =
        "''Every statement, in success and in error\r\n"
        "Ln 4: Show(a)   => Number a = 3.0000\r\n\r\n"
        "Ln 5: Show(f)   => Function f = x^2 + a*x + 1\r\n\r\n"
        "Ln 6: Expression = f(2) + 1/4: " + kNote + "\r\n       Result => Number = 11.2500\r\n\r\n"
        "Ln 7: Expression = 1/0: " + kNote + "\r\n       Result => ===>  ERROR n. = 4: Division by zero at position 2\r\n\r\n"
        "Ln 8: Expression = sqrt(2): " + kNote + "\r\n       Stored => Number r = 1.4142\r\n\r\n"
        "Ln 10: Expression = [B]; 2; 2; 1: " + kNote + "\r\n     Result => ===>  ERROR n. = 12: Invalid matrix spec: "
        "[B] is 2 x 2 and needs 4 values, got 1\r\n\r\n"
        "Ln 14: Expression = [C]*[V]: " + kNote + "\r\n       Result => Vector: \r\n  -2.0000\r\n  -2.0000\r\n\r\n"
        "Ln 15: Show([C])   => Matrix: [C]\r\nmA(0,0)=1.0000\tmA(0,1)=2.0000\tmA(0,2)=3.0000\t\r\n"
        "mA(1,0)=4.0000\tmA(1,1)=5.0000\tmA(1,2)=6.0000\t\r\n\r\n\r\n"
        "Ln 16: Expression = [A]^-1: (=>fileout m.txt)\r\n       Stored => Matr = [M]; 2; 2;-2; 1; 1.5; -0.5; \r\n\r\n"
        "Ln 17: Show([M])   => Matrix: [M]\r\nmA(0,0)=-2.0000\tmA(0,1)=1.0000\t\r\nmA(1,0)=1.5000\tmA(1,1)=-0.5000\t"
        "\r\n\r\n\r\n"
        "Ln 18: Expression = 2*pi: =>(e.txt [e-out.txt])\r\n       Result => Number = 6.2832\r\n\r\n"
        "Ln 19: Expression = : " + kNote + "\r\n       Result => ===>  ERROR n. = -2: File Open Error (not found?) (" +
        ProgramPath(dir.file("nosuch.txt")) + ": " + FileErrorText(ENOENT) + ")\r\n\r\n"
        "Ln 20: Expression = g;: " + kNote + "\r\n       Result => ===>  ERROR n. = 0: \r\n\r\n"
        "Ln 22: Expression = sq(12): " + kNote + "\r\n       Result => Number = 144.0000\r\n\r\n"
        "Ln 25: Expression = [B]*[W]: " + kNote + "\r\n       Result => Vector: \r\n  3.0000\r\n  8.0000\r\n\r\n"
        "Ln 26: aElemOrderEx = by Row\r\n\r\n"
        "Ln 28: Polyn = t^3 - 27:\r\n       Solution Polyn => Number = 3.0000\r\n\r\n"
        "Ln 29: Polyn = t^2 + 1:\r\n       Solution Polyn => ===>  ERROR n. = 14: No real root: all 2 roots of the "
        "polynomial are complex\r\n\r\n"
        "Ln 30: Polyn = t^3 - 2t:\r\n       Derivate of Polyn => 3t^2 - 2\r\n\r\n"
        "Ln 31: Polyn = t^2 + 5t:\r\n       Derivate of Polyn => 2t + 5\r\n\r\n"
        "Ln 32: Polyn = t^:\r\n       Derivate of Polyn => ===> ERROR n. = 1: Syntax error at position 3: unexpected "
        "end of expression\r\n\r\n"
        "Ln 33: iFunction = x^2: " + kNote + "\r\n       Integral iFunction(0,2) => Number = 2.6668\r\n\r\n"
        "Ln 34: iFunction = X^2: " + kNote + "\r\n       Integral iFunction(0,2) => Number = 1.0833\r\n\r\n"
        "Ln 35: iFunction = 3*u^2: =>(i.txt [i-out.txt])\r\n       Integral iFunction(1,3) => Number = 26.0000\r\n\r\n"
        "Ln 36: iFunction = 1/x: " + kNote + "\r\n       Integral iFunction(0,1) => ===>  ERROR n. = 4: Division by "
        "zero at position 2\r\n\r\n" + AboutLines();
    EXPECT_EQ(run.Output(script), run.ExpectedHeader(38, 7) + body);
    EXPECT_EQ(ReadFileBytes(dir.file("m.txt")), "[M]; 2; 2;-2; 1; 1.5; -0.5; ");
    EXPECT_EQ(ReadFileBytes(dir.file("e-out.txt")), "Number = 6.2832");
    EXPECT_EQ(ReadFileBytes(dir.file("p-out.txt")), "2t + 5");
    EXPECT_EQ(ReadFileBytes(dir.file("i-out.txt")), "Number = 26.0000");
}

TEST(StatementsEndToEnd, DecimalsOption) {
    const std::string script = Crlf({"expr = 100/3", "stoexpr(h) = 2.5", "expr = h*2", "matr = [A]; 1; 2; 0.5; 1.25",
                                     "expr = [A]", "show(A)", "integrate(0; 1; 10; simpson; x) = x"});
    struct Case {
        std::string option;
        std::string body;
    };
    const Case cases[] = {
        {"/dec:0",
         "Ln 1: Expression = 100/3: " + kNote + "\r\n       Result => Number = 33\r\n\r\n"
         "Ln 2: Expression = 2.5: " + kNote + "\r\n       Stored => Number h = 2\r\n\r\n"
         "Ln 3: Expression = h*2: " + kNote + "\r\n       Result => Number = 4\r\n\r\n"
         "Ln 5: Expression = [A]: " + kNote + "\r\n       Result => Matrix: \r\n  0  1\r\n\r\n"
         "Ln 6: Show([A])   => Matrix: [A]\r\nvE(0)=0\tvE(1)=1\t\r\n\r\n\r\n"
         "Ln 7: iFunction = x: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0\r\n\r\n"},
        {"/dec:10",
         "Ln 1: Expression = 100/3: " + kNote + "\r\n       Result => Number = 33.3333333333\r\n\r\n"
         "Ln 2: Expression = 2.5: " + kNote + "\r\n       Stored => Number h = 2.5000000000\r\n\r\n"
         "Ln 3: Expression = h*2: " + kNote + "\r\n       Result => Number = 5.0000000000\r\n\r\n"
         "Ln 5: Expression = [A]: " + kNote + "\r\n       Result => Matrix: \r\n  0.5000000000  1.2500000000\r\n\r\n"
         "Ln 6: Show([A])   => Matrix: [A]\r\nvE(0)=0.5000000000\tvE(1)=1.2500000000\t\r\n\r\n\r\n"
         "Ln 7: iFunction = x: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0.5000000000\r\n\r\n"},
        // -1 gives ten decimals in numbers; the listing pattern is "0." alone.
        {"/dec:-1",
         "Ln 1: Expression = 100/3: " + kNote + "\r\n       Result => Number = 33.3333333333\r\n\r\n"
         "Ln 2: Expression = 2.5: " + kNote + "\r\n       Stored => Number h = 2.5000000000\r\n\r\n"
         "Ln 3: Expression = h*2: " + kNote + "\r\n       Result => Number = 5.0000000000\r\n\r\n"
         "Ln 5: Expression = [A]: " + kNote + "\r\n       Result => Matrix: \r\n  0  1\r\n\r\n"
         "Ln 6: Show([A])   => Matrix: [A]\r\nvE(0)=0.5000000000\tvE(1)=1.2500000000\t\r\n\r\n\r\n"
         "Ln 7: iFunction = x: " + kNote + "\r\n       Integral iFunction(0,1) => Number = 0.5000000000\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        ScriptRun run({c.option});
        EXPECT_EQ(run.Output(script), run.ExpectedHeader(7, 0) + c.body);
    }
}

TEST(StatementsEndToEnd, BothErrorFormsInOneRun) {
    ScriptRun run;
    EXPECT_EQ(run.Output(Crlf({"expr = 2*", "derivate = x^2 +"})),
              run.ExpectedHeader(2, 2) +
                  "Ln 1: Expression = 2*: " + kNote +
                  "\r\n       Result => ===>  ERROR n. = 1: Syntax error at position 3: unexpected end of expression"
                  "\r\n\r\n"
                  "Ln 2: Polyn = x^2 +:\r\n       Derivate of Polyn => ===> ERROR n. = 1: Syntax error at position 6: "
                  "unexpected end of expression\r\n\r\n");
}

TEST(StatementsEndToEnd, MoreThan999ErrorsAreCounted) {
    std::string script;
    std::string body;
    for (int i = 1; i <= 1500; ++i) {
        script += "expr = " + std::to_string(i) + "/0\r\n";
        body += "Ln " + std::to_string(i) + ": Expression = " + std::to_string(i) + "/0: " + kNote +
                "\r\n       Result => ===>  ERROR n. = 4: Division by zero at position " +
                std::to_string(std::to_string(i).size() + 1) + "\r\n\r\n";
    }
    ScriptRun run;
    const std::string output = run.Output(script);
    EXPECT_NE(output.find("'Executed Commands: 1500, Errors found: 1500\r\n" + kStars), std::string::npos);
    EXPECT_EQ(output, run.ExpectedHeader(1500, 1500) + body);
}

TEST(StatementsEndToEnd, TourRunsWithItsOneDeliberateError) {
    TempDir dir;
    const RunResult r = RunTessara(dir, {"/i", std::string(TESSARA_SOURCE_DIR) + "/examples/tour.kvx", "/o",
                                         dir.file("tour-out.kvx")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string output = ReadFileBytes(dir.file("tour-out.kvx"));
    EXPECT_NE(output.find("'Executed Commands: 46, Errors found: 1\r\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Ln 74: Expression = 1/0: "), std::string::npos) << output;
}

} // namespace
