#include <cmath>
#include <vector>

#include "KalvexTestSupport.h"

namespace {

struct Found {
    std::vector<double> elements;
    int rows = 0;
    int cols = 0;
};

Found Get(const char* name, int mode = 33) {
    Found f;
    const double* p = FindMatrix(name, mode, &f.rows, &f.cols);
    if (p) f.elements.assign(p, p + f.rows * f.cols);
    return f;
}

// Evaluates a matrix expression and fetches the result by its handle.
Found EvalMatrix(const std::string& text) {
    const EvalResult r = Eval(text);
    EXPECT_EQ(r.error, -1) << text << ": " << r.description;
    EXPECT_EQ(r.type, 1) << text;
    return Get(std::to_string(static_cast<long>(r.value)).c_str(), 9);
}

void ExpectNear(const Found& f, int rows, int cols, const std::vector<double>& want, double tol = 1e-12) {
    ASSERT_EQ(f.rows, rows);
    ASSERT_EQ(f.cols, cols);
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(f.elements[i], want[i], tol) << i;
}

TEST_F(KalvexTest, SpecsDefineMatricesRowAfterRow) {
    SetStrMatrix("[A]; 2; 2; 1; 2; 3; 4", 0, 1);
    ASSERT_EQ(GetE_Error(), -1);
    ExpectNear(Get("[a]"), 2, 2, {1, 2, 3, 4});
    SetStrMatrix("[B];2;3;1;2;3;4;5;6", 0, 1);  // the form without blanks
    ExpectNear(Get("[B]"), 2, 3, {1, 2, 3, 4, 5, 6});
    SetStrMatrix("[v]; 3; 1; 1; 2; 3; ", 0, 1);  // a trailing separator
    ExpectNear(Get("[V]"), 3, 1, {1, 2, 3});
    SetStrMatrix("[w]; 1; 2; sqrt(4); max(1; 5)", 0, 1);  // values are expressions
    ExpectNear(Get("[w]"), 1, 2, {2, 5});
}

TEST_F(KalvexTest, ColumnOrderFillsColumnByColumn) {
    const double probe[] = {0, 2, 1, 0};
    EXPECT_EQ(aElemOrderEx(probe, 0), 0);
    aElemOrderSet(1);
    EXPECT_EQ(aElemOrderEx(probe, 0), 1);
    SetStrMatrix("[A]; 2; 2; 1; 2; 3; 4", 0, 1);
    ExpectNear(Get("[A]"), 2, 2, {1, 3, 2, 4});  // handed out row after row
    aElemOrderSet(0);
    EXPECT_EQ(aElemOrderEx(probe, 0), 0);
}

struct BadSpec {
    const char* spec;
    int error;
    const char* description;
};

class BadSpecs : public KalvexTest, public ::testing::WithParamInterface<BadSpec> {};

TEST_P(BadSpecs, AreRejectedAndChangeNothing) {
    SetStrMatrix("[A]; 1; 1; 42", 0, 1);
    const BadSpec& c = GetParam();
    SetStrMatrix(c.spec, 0, 1);
    EXPECT_EQ(GetE_Error(), c.error) << c.spec;
    EXPECT_EQ(LastDescription(), c.description);
    ExpectNear(Get("[A]"), 1, 1, {42});
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, BadSpecs,
    ::testing::Values(
        BadSpec{"", kMatrixSpec, "Invalid matrix spec: the text is empty"},
        BadSpec{"[A]", kMatrixSpec, "Invalid matrix spec: the row count of [A] is missing"},
        BadSpec{"[1x]; 1; 1; 1", kMatrixSpec, "Invalid matrix spec: '[1x]' is no matrix name (write it as [A])"},
        BadSpec{"[A]; -2; 2; 1; 2; 3; 4", kMatrixSpec,
                "Invalid matrix spec: the row count of [A] is '-2'; it must be a whole number from 1 to 100000"},
        BadSpec{"[A]; 2; 0", kMatrixSpec,
                "Invalid matrix spec: the column count of [A] is '0'; it must be a whole number from 1 to 100000"},
        BadSpec{"[A]; 1.5; 2; 1; 2", kMatrixSpec,
                "Invalid matrix spec: the row count of [A] is '1.5'; it must be a whole number from 1 to 100000"},
        BadSpec{"[A]; 99999999999; 2", kMatrixSpec,
                "Invalid matrix spec: the row count of [A] is '99999999999'; it must be a whole number from 1 to "
                "100000"},
        BadSpec{"[A]; 100000; 100000; 1", kMatrixSpec,
                "Invalid matrix spec: [A] of 100000 x 100000 is too large (at most 1000000 elements)"},
        BadSpec{"[A]; 2; 2; 1; 2; 3", kMatrixSpec, "Invalid matrix spec: [A] is 2 x 2 and needs 4 values, got 3"},
        BadSpec{"[A]; 2; 2; 1; 2; 3; 4; 5", kMatrixSpec,
                "Invalid matrix spec: [A] is 2 x 2 and needs 4 values, got 5"},
        BadSpec{"[A]; 2; 1; 1;; 2", kMatrixSpec, "Invalid matrix spec: [A] is 2 x 1 and needs 2 values, got 3"},
        BadSpec{"[A]; 2; 1; 1; ; ", kMatrixSpec, "Invalid matrix spec: [A] is 2 x 1 and needs 2 values, got 1"},
        BadSpec{"[A]; 1; 3; 1;  ;3", kMatrixSpec, "Invalid matrix spec: Value 2 of [A] is empty"},
        BadSpec{"[A]; 1; 2; 1; abc", kUnknownName,
                "Invalid matrix spec: Value 2 of [A] ('abc'): Unknown name 'abc' at position 1"},
        BadSpec{"[A]; two; 2", kUnknownName,
                "Invalid matrix spec: the row count of [A]: Unknown name 'two' at position 1"}));

TEST_F(KalvexTest, MatrixArithmetic) {
    SetStrMatrix("[A]; 2; 2; 1; 2; 3; 4", 0, 1);
    SetStrMatrix("[B]; 2; 2; 0; 1; 1; 0", 0, 1);
    SetStrMatrix("[u]; 3; 1; 1; 0; 0", 0, 1);
    SetStrMatrix("[v]; 3; 1; 0; 1; 0", 0, 1);
    ExpectNear(EvalMatrix("[A] + [B]"), 2, 2, {1, 3, 4, 4});
    ExpectNear(EvalMatrix("[A] - [B]"), 2, 2, {1, 1, 2, 4});
    ExpectNear(EvalMatrix("[A] * [B]"), 2, 2, {2, 1, 4, 3});
    ExpectNear(EvalMatrix("2[A] / 4"), 2, 2, {0.5, 1, 1.5, 2});
    ExpectNear(EvalMatrix("-[A]*3"), 2, 2, {-3, -6, -9, -12});
    ExpectNear(EvalMatrix("[A]^2"), 2, 2, {7, 10, 15, 22});
    ExpectNear(EvalMatrix("[A]^0"), 2, 2, {1, 0, 0, 1});
    ExpectNear(EvalMatrix("[A]^-1"), 2, 2, {-2, 1, 1.5, -0.5});
    ExpectNear(EvalMatrix("trn([A])"), 2, 2, {1, 3, 2, 4});
    ExpectNear(EvalMatrix("cross([u]; [v])"), 3, 1, {0, 0, 1});
    EXPECT_NEAR(Eval("det([A])").value, -2, 1e-12);
    EXPECT_EQ(Eval("trace([A])").value, 5);
    EXPECT_EQ(Eval("dot([u], [v] + [u])").value, 1);
    EXPECT_NEAR(Eval("norm([A])").value, std::sqrt(30.0), 1e-12);
}

TEST_F(KalvexTest, SolveAndInverse) {
    SetStrMatrix("[M]; 4; 4; 4; 1; 0; 2;  1; 5; 1; 0;  0; 1; 6; 1;  2; 0; 1; 7", 0, 1);
    ExpectNear(EvalMatrix("inv([M]) * [M]"), 4, 4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    SetStrMatrix("[b]; 4; 1; 7; 7; 8; 10", 0, 1);
    ExpectNear(EvalMatrix("solve([M]; [b])"), 4, 1, {1, 1, 1, 1});
    SetStrMatrix("[S]; 3; 3; 1; 2; 3; 4; 5; 6; 7; 8; 9", 0, 1);
    EXPECT_EQ(Eval("det([S])").value, 0);
    EvalResult r = Eval("inv([S])");
    EXPECT_EQ(r.error, kSingular);
    EXPECT_EQ(r.description, "Singular matrix: the inverse does not exist at position 1");
    EXPECT_EQ(Eval("[S]^-1").error, kSingular);
    SetStrMatrix("[c]; 3; 1; 1; 2; 3", 0, 1);
    EXPECT_EQ(Eval("solve([S]; [c])").error, kSingular);
}

struct ShapeCase {
    const char* text;
    const char* description;
};

class ShapeErrors : public KalvexTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeErrors, NameBothShapes) {
    SetStrMatrix("[A]; 2; 2; 1; 2; 3; 4", 0, 1);
    SetStrMatrix("[b]; 3; 1; 1; 2; 3", 0, 1);
    SetStrMatrix("[R]; 2; 3; 1; 2; 3; 4; 5; 6", 0, 1);
    const EvalResult r = Eval(GetParam().text);
    EXPECT_EQ(r.description, GetParam().description);
    EXPECT_NE(r.error, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, ShapeErrors,
    ::testing::Values(
        ShapeCase{"[A] + [b]", "Matrix sizes do not match for '+': 2 x 2 and 3 x 1 at position 5"},
        ShapeCase{"[A] * [b]", "Matrix sizes do not match for '*': 2 x 2 and 3 x 1 at position 5"},
        ShapeCase{"[A] + 1", "Cannot add a 2 x 2 matrix and a number at position 5"},
        ShapeCase{"1 - [A]", "Cannot subtract a number and a 2 x 2 matrix at position 3"},
        ShapeCase{"sin([A])", "sin needs numbers, got a 2 x 2 matrix at position 1"},
        ShapeCase{"max(1, [A])", "max needs numbers, got a 2 x 2 matrix at position 1"},
        ShapeCase{"det(5)", "det needs a matrix or vector, got a number at position 1"},
        ShapeCase{"det([R])", "det needs a square matrix, got a 2 x 3 matrix at position 1"},
        ShapeCase{"[R]^2", "'^' needs a square matrix, got a 2 x 3 matrix at position 4"},
        ShapeCase{"[A]^0.5", "Domain error: a matrix power needs an integer exponent at position 4"},
        ShapeCase{"2^[A]", "The exponent of '^' must be a number, got a 2 x 2 matrix at position 2"},
        ShapeCase{"1/[A]", "Cannot divide a number by a 2 x 2 matrix (use inv) at position 2"},
        ShapeCase{"[A]/0", "Division by zero at position 4"},
        ShapeCase{"[A] < 1", "A comparison needs numbers, got a 2 x 2 matrix and a number at position 5"},
        ShapeCase{"dot([A], [b])", "Matrix sizes do not match for dot: 2 x 2 and 3 x 1 at position 1"},
        ShapeCase{"cross([R], [R])", "Matrix sizes do not match for cross: 2 x 3 and 2 x 3 at position 1"},
        ShapeCase{"solve([A]; [b])", "Matrix sizes do not match for solve: 2 x 2 and 3 x 1 at position 1"}));

TEST_F(KalvexTest, ResultHandlesAreBounded) {
    SetStrMatrix("[A]; 1; 2; 1; 2", 0, 1);
    const EvalResult first = Eval("[A]*1");
    ASSERT_EQ(first.type, 1);
    const std::string firstHandle = std::to_string(static_cast<long>(first.value));
    int rows = 0;
    int cols = 0;
    EXPECT_NE(FindMatrix(firstHandle.c_str(), 9, &rows, &cols), nullptr);
    EvalResult last;
    for (int i = 0; i < 64; ++i) last = Eval("[A]*" + std::to_string(i));
    EXPECT_EQ(FindMatrix(firstHandle.c_str(), 9, &rows, &cols), nullptr);  // dropped: the oldest
    EXPECT_EQ(GetE_Error(), kUnknownMatrix);
    ExpectNear(Get(std::to_string(static_cast<long>(last.value)).c_str(), 9), 1, 2, {63, 126});
    EXPECT_EQ(FindMatrix("junk", 9, &rows, &cols), nullptr);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(FindMatrix("[A]", 7, &rows, &cols), nullptr);
    EXPECT_EQ(GetE_Error(), kBadArgument);
}

TEST_F(KalvexTest, ResultMatricesAreBoundedInSize) {
    std::string spec = "[Z]; 1000; 1000; ";
    for (int i = 0; i < 1000000; ++i) spec += "0;";
    SetStrMatrix(spec.c_str(), 0, 1);
    ASSERT_EQ(GetE_Error(), -1);
    std::vector<long> handles;
    for (int i = 0; i < 5; ++i) handles.push_back(static_cast<long>(Eval("[Z]").value));
    int rows = 0;
    int cols = 0;
    EXPECT_EQ(FindMatrix(std::to_string(handles[0]).c_str(), 9, &rows, &cols), nullptr);
    EXPECT_NE(FindMatrix(std::to_string(handles[4]).c_str(), 9, &rows, &cols), nullptr);
    EXPECT_EQ(rows, 1000);
}

TEST_F(KalvexTest, ListingFormat) {
    const double m[] = {1, 2, 3, -4};
    EXPECT_STREQ(aPrint(m, 2, 2, "String", "0.0000", "", ""), "\r\n  1.0000   2.0000\r\n  3.0000  -4.0000");
    EXPECT_STREQ(aPrint(m, 1, 4, "String", "0.", "", ""), "\r\n  1  2  3  -4");
    EXPECT_STREQ(aPrint(m, 4, 1, "String", "0.00", "", ""), "\r\n   1.00\r\n   2.00\r\n   3.00\r\n  -4.00");
    const double small[] = {-0.00001, 123.456};
    EXPECT_STREQ(aPrint(small, 1, 2, "String", "0.0", "", ""), "\r\n  0.0  123.5");
    const double wide[] = {100, -1, 2, 3};  // each column is as wide as its widest value
    EXPECT_STREQ(aPrint(wide, 2, 2, "String", "0.0", "", ""), "\r\n  100.0  -1.0\r\n    2.0   3.0");
    EXPECT_STREQ(aPrint(nullptr, 1, 1, "String", "0.0", "", ""), "");
    EXPECT_EQ(GetE_Error(), kBadArgument);
}

}  // namespace
