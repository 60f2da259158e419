#include <gtest/gtest.h>

#include "parser/StatementText.h"

namespace {

TEST(StatementText, FieldsAndWords) {
    EXPECT_EQ(Field("a; b;c", ';', 1), "a");
    EXPECT_EQ(Field("a; b;c", ';', 2), " b");
    EXPECT_EQ(Field("a; b;c", ';', 3), "c");
    EXPECT_EQ(Field("a; b;c", ';', 4), "");
    EXPECT_EQ(Field("a;", ';', 2), "");
    EXPECT_EQ(Field("", ';', 1), "");
    EXPECT_EQ(Word("in.txt out.txt", 1), "in.txt");
    EXPECT_EQ(Word("in.txt out.txt", 2), "out.txt");
    EXPECT_EQ(Word("in.txt  out.txt", 2), "") << "two spaces leave an empty second word";
    EXPECT_EQ(Word("in.txt", 2), "");
}

TEST(StatementText, PositionsAreOneBasedAndSafe) {
    EXPECT_EQ(TextAfter("expr = 1+2 ", 6), "1+2");
    EXPECT_EQ(TextAfter("show(x)", 20), "") << "pos past the cut-off comment";
    EXPECT_EQ(TextBetween("show( x )", 5, 9), "x");
    EXPECT_EQ(TextBetween("show(x", 5, 0), "");
    EXPECT_EQ(TextBetween("a)b(c", 4, 2), "");
    EXPECT_EQ(TextBetween("show()", 5, 6), "");
    EXPECT_EQ(TextBetween("s(abc", 2, 40), "abc") << "a close past the end reads to the end";
    EXPECT_EQ(TrimView("\t a \t "), "\t a \t") << "only spaces are trimmed";
}

TEST(StatementText, NamesAndNumbers) {
    EXPECT_EQ(BracketName("A"), "[A]");
    EXPECT_EQ(BracketName("[A]"), "[A]");
    EXPECT_EQ(BracketName("[A"), "[A]");
    EXPECT_EQ(BracketName(""), "[]");
    EXPECT_EQ(Without("a'b''c", '\''), "abc");
    EXPECT_DOUBLE_EQ(DecimalValue("  1.5e2xyz"), 150);
    EXPECT_DOUBLE_EQ(DecimalValue("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(DecimalValue("abc"), 0);
    EXPECT_DOUBLE_EQ(DecimalValue(""), 0);
}

} // namespace
