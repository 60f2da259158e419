#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "AuxFunct/ResultText.h"
#include "AuxFunct/TidyNumber.h"

namespace {

struct TextCase {
    std::string in;
    std::string out;
};

TEST(TidyNumber, Examples) {
    const TextCase cases[] = {
        {"2.5000", "2.5"},      {"6.0000", "6"},       {"0.0000", "0"},   {"-0.0000000000", "-0"},
        {"100", "100"},         {".50", "0.5"},        {"abc12.50x", "12.50x"},
        {"", "0"},              {"abc", "0"},          {".", "0"},        {"-.2500", "-.25"},
        {"1000.", "1000"},      {"x-3.10", "-3.1"},
    };
    for (const auto& c : cases) EXPECT_EQ(TidyNumber(c.in), c.out) << "input «" << c.in << "»";
}

TEST(StripBrackets, RemovesOneOfEach) {
    const TextCase cases[] = {
        {"[[a]]", "[a]"}, {"a]", "a"}, {"", ""}, {"[out.txt]", "out.txt"}, {"[", ""}, {"]", ""},
        {"(a)", "(a)"},   {"a[b]", "a[b"},
    };
    for (const auto& c : cases) EXPECT_EQ(StripBrackets(c.in), c.out) << "input «" << c.in << "»";
}

TEST(ErrorCodeText, EveryCode) {
    EXPECT_EQ(ErrorCodeText(-2), "File Open Error (not found?)");
    EXPECT_EQ(ErrorCodeText(-3), "File Write Error (already in use?)");
    EXPECT_EQ(ErrorCodeText(-4), "Operation vancelled by user");
    EXPECT_EQ(ErrorCodeText(-5), "Invalid Parameter.");
    EXPECT_EQ(ErrorCodeText(-6), "Instance Quit OK");
    EXPECT_EQ(ErrorCodeText(-7), "API Error");
    EXPECT_EQ(ErrorCodeText(-8), "Window not Found");
    EXPECT_EQ(ErrorCodeText(-9), "Child Window Not Found");
    for (int code : {0, 1, -1, -10, 255}) EXPECT_EQ(ErrorCodeText(code), "") << code;
    EXPECT_EQ(StatusErrorText(0), "===>  ERROR n. = 0: ");
    EXPECT_EQ(StatusErrorText(-2), "===>  ERROR n. = -2: File Open Error (not found?)");
}

TEST(NumberText, DecimalCounts) {
    struct Case {
        double value;
        int decimals;
        std::string text;
    };
    const Case cases[] = {
        {100, 0, "100"},          {2.5, 0, "2"},        {3.5, 0, "4"},
        {0.1 + 0.2, 4, "0.3000"}, {-1.0 / 3, 4, "-0.3333"},
        {1.0 / 3, 10, "0.3333333333"}, {1.0 / 3, -1, "0.3333333333"}, {2, -5, "2"},
        {-0.00001, 4, "-0.0000"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberText(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
}

TEST(NumberText, LargeCountsUse512Decimals) {
    const std::string text = NumberText(0.5, 600);
    EXPECT_EQ(text.size(), 2u + 512u);
    EXPECT_EQ(text.substr(0, 4), "0.50");
    // The widest double with the widest count fits.
    const std::string widest = NumberText(-DBL_MAX, 2147483647);
    EXPECT_EQ(widest.size(), 1u + 309u + 1u + 512u);
    EXPECT_EQ(widest.front(), '-');
}

TEST(NumberText, NonFiniteValues) {
    EXPECT_EQ(NumberText(1.0 / 0.0, 4), "inf");
    EXPECT_EQ(NumberText(-1.0 / 0.0, 4), "-inf");
}

TEST(RoundedText, HalvesToEven) {
    const std::pair<double, std::string> cases[] = {
        {0.5, "0"}, {1.5, "2"}, {2.5, "2"}, {-0.4, "0"}, {-1.5, "-2"}, {10.49, "10"}, {1e20, "100000000000000000000"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(RoundedText(value), text) << value;
}

TEST(ResultBlocks, Forms) {
    std::string out;
    AppendResultBlock(out, 1, "1/4", kNoTarget, "Number = 0.2500");
    EXPECT_EQ(out, "Ln 1: Expression = 1/4:                     \r\n       Result => Number = 0.2500\r\n\r\n");
    out.clear();
    AppendStoredBlock(out, 2, "2*3", "(=>fileout m.txt)", "Number x = 6.0000");
    EXPECT_EQ(out, "Ln 2: Expression = 2*3: (=>fileout m.txt)\r\n       Stored => Number x = 6.0000\r\n\r\n");
    out.clear();
    AppendShowBlock(out, 3, "[zz]", "not found");
    EXPECT_EQ(out, "Ln 3: Show([zz])   => not found\r\n\r\n");
    out.clear();
    AppendSolutionBlock(out, 4, "x^2-4", "Number = 2.0000");
    EXPECT_EQ(out, "Ln 4: Polyn = x^2-4:\r\n       Solution Polyn => Number = 2.0000\r\n\r\n");
    out.clear();
    AppendDerivateBlock(out, 5, "x^2", "2*x");
    EXPECT_EQ(out, "Ln 5: Polyn = x^2:\r\n       Derivate of Polyn => 2*x\r\n\r\n");
    out.clear();
    AppendIntegralBlock(out, 6, "x^2", kNoTarget, 0.5, 1.5, "Number = 1.0833");
    EXPECT_EQ(out, "Ln 6: iFunction = x^2:                     \r\n       Integral iFunction(0,2) => "
                   "Number = 1.0833\r\n\r\n");
    out.clear();
    AppendMatrixErrorBlock(out, 7, "[A]; 1", "E");
    EXPECT_EQ(out, "Ln 7: Expression = [A]; 1:                     \r\n     Result => E\r\n\r\n");
    out.clear();
    AppendDimxErrorBlock(out, 8, "E");
    EXPECT_EQ(out, "Ln 8: Expression = :\r\n       Result => E\r\n\r\n");
    out.clear();
    AppendElemOrderBlock(out, 9, "by Row");
    EXPECT_EQ(out, "Ln 9: aElemOrderEx = by Row\r\n\r\n");
}

} // namespace
