// The plot statement without a display: parsing and its error blocks,
// sampling, extents, point tables, screenshot names and window tiling.
#include <charconv>
#include <cmath>
#include <filesystem>
#include <random>

#include "PlotHarness.h"
#include "AuxFunct/ResolvePath.h"
#include "AuxFunct/ResultText.h"
#include "AuxFunct/TextUtil.h"
#include "AuxFunct/TidyNumber.h"
#include "aPlot/PlotExport.h"
#include "aPlot/PlotWindows.h"
#include "aPlot/Sampling.h"

namespace {

// The value the library gives for text, or NaN when it fails.
double Eval(const KalvexApi& kx, const std::string& text) {
    double value = 0;
    kx.e_eval(text.c_str(), &value, 0);
    return kx.GetE_Error() == -1 ? value : std::nan("");
}

TEST_F(PlotTest, ExamplePointTableAndModel) {
    const ProcessResult r = Run("plot(-2; x; 2; 4; p.txt) = x^2   ' comment\r\nexpr = 1");
    EXPECT_EQ(r.commandCount, 2);
    EXPECT_EQ(r.errorCount, 0);
    // The plot adds no result block of its own.
    EXPECT_TRUE(r.processed.starts_with("Ln 2: Expression = 1:")) << r.processed;
    EXPECT_EQ(ReadFileBytes(Path("p.txt")), "Id\tX\tY\r\n0\t-2\t4\r\n1\t-1\t1\r\n2\t0\t0\r\n3\t1\t1\r\n4\t2\t4\r\n");
    ASSERT_EQ(plots.plotCount, 1);
    const PlotRecord& p = Plot(1);
    EXPECT_EQ(p.expression, "x^2");
    EXPECT_EQ(p.variable, "x");
    EXPECT_EQ(p.intervals, 4);
    EXPECT_EQ(p.imageId, 121);
    EXPECT_EQ(p.toFieldId, 127);
    EXPECT_EQ(p.windowId, 0); // no display: no window
    EXPECT_EQ(std::vector<double>({p.xMin, p.xMax, p.yMin, p.yMax}), std::vector<double>({-2, 2, 0, 4}));
}

// Each error block is compared whole: the expression it shows is the text
// after the "=" (after the first "(" when there is none), whatever the
// parameters hold.
TEST_F(PlotTest, BadStatementsGiveErrorBlocksAndUseNoPlotNumber) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"plot(0; x; 1; 0) = x", "x", "intervals must be at least 1"},
        {"plot(0; x; 1; -3) = x+1", "x+1", "intervals must be at least 1"},
        {"plot(0; x; 1) = x", "x", "intervals must be at least 1"},
        {"plot(0; x; 1; 1e9) = x", "x", "intervals must be at most 10000000"},
        {"plot(1; x; 1; 4) = x", "x", "the range end must be greater than its start"},
        {"plot(2; x; 1; 4) = 2*x", "2*x", "the range end must be greater than its start"},
        {"plot(-1e308; x; 1e308; 4) = x", "x", "the range must be given by finite numbers"},
        {"plot(0; x; inf; 4) = x", "x", "the range must be given by finite numbers"},
        {"plot(0; x; 1; 4) =   ", "", "the expression is empty"},
        {"plot(0; x; 1; 4)", "0; x; 1; 4)", "the statement has no \"=\" before its expression"},
        {"plot = x", "x", "the statement has no parameters in parentheses"},
        {"plot(0; x; 1; 4 = x", "x", "the statement has no parameters in parentheses"},
    };
    const std::string note(20, ' '); // the block's place for a target note, empty here
    for (const auto& [line, shown, problem] : cases) {
        const ProcessResult r = Run(line);
        EXPECT_EQ(r.errorCount, 1) << line;
        EXPECT_EQ(r.processed, "Ln 1: Expression = " + std::string(shown) + ": " + note + "\r\n       Result => ===>  ERROR: plot: " +
                                   problem + "\r\n\r\n")
            << line;
        EXPECT_EQ(plots.plotCount, 0) << line;
    }
}

TEST_F(PlotTest, SamplingTakesExactlyNPlusOneSamplesEndingAtTheRangeEnd) {
    Run("plot(0; x; 1; 10) = x\r\nplot(0; x; 0.3; 3) = x");
    // The samples are those of the last plot: 0, 0.1, 0.2 and exactly 0.3.
    EXPECT_EQ(plots.sampleX, (std::vector<double>{0, 0.1, 0.2, 0.3}));
    EXPECT_EQ(plots.plotCount, 2);
    Run("plot(0; x; 1; 10) = x");
    EXPECT_EQ(plots.sampleX.size(), 11u);
    EXPECT_EQ(plots.sampleX.back(), 1.0);
    EXPECT_EQ(plots.plotCount, 1); // a new run starts counting again
}

// The library binds the variable where it stands as a name of its own, in any
// case; the values are those of the texts with the ten-decimal number put in
// its place, and a user variable of that name is neither used nor changed.
TEST_F(PlotTest, SamplesEqualTheSubstitutedTexts) {
    kx.SetVarFunct("x", "7", 0);
    kx.SetVarFunct("t", "100", 0);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"exp(x)", "x", "exp((@))"},
        {"EXP(X) + x", "X", "exp((@)) + (@)"},
        {"sin(x)*exp(-x/5)", "x", "sin((@))*exp(-(@)/5)"},
        {"-x^2 + 2x", "x", "-(@)^2 + 2(@)"},
        {"xx + x", "x", "xx + (@)"},
        {"T+1", "t", "(@)+1"},
        {"t+1", "", "t+1"},
    };
    kx.SetVarFunct("xx", "3", 0);
    for (const auto& [expression, variable, pattern] : cases) {
        plots.plotTable.resize(2);
        PlotRecord& plot = plots.plotTable[1];
        plot.expression = expression;
        plot.variable = ToLower(variable);
        plot.intervals = 6;
        SamplePlot(plots, kx, 1, -1.3, 0.5);
        for (std::size_t i = 0; i < plots.sampleX.size(); ++i) {
            std::string text = pattern;
            for (std::size_t at; (at = text.find('@')) != std::string::npos;)
                text.replace(at, 1, CoordinateText(plots.sampleX[i]));
            EXPECT_EQ(plots.sampleY[i], Eval(kx, text)) << expression << " at " << text;
        }
    }
    double x = 0;
    EXPECT_TRUE(kx.FindVarVal2("x", 0, &x, nullptr));
    EXPECT_EQ(x, 7);
    // exp(x) at 0.5 is e^0.5, not a product with "e" and "p".
    Run("plot(0; x; 1; 2) = exp(x)");
    EXPECT_DOUBLE_EQ(plots.sampleY[1], std::exp(0.5));
}

// The fast coordinate texts and sample values are those of "%.10f" tidied,
// ties, values near a half of the last decimal, negative zeros and values too
// large for the fast path included.
TEST(PlotNumbers, CoordinateTextsAndSampleValuesMatchTheTenDecimalText) {
    std::vector<double> values = {0.1, -0.1, 1.0 / 3, -2.5e-11, 5e-11, 1.0 / 2048, -3.0 / 2048, 123456.78901234567,
                                  -0.30000000000000004, 1e12 + 0.1, 9007199254.740993, -1e-300, -0.0, 0.0,
                                  0.123456789049999, 0.00000000005, 2, -150.25, 1e300, 4.5e5 + 1e-10};
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(-1, 1)(random);
        values.push_back(std::ldexp(mantissa, std::uniform_int_distribution<int>(-40, 25)(random)));
        // Values on a half of the last decimal, and next to one.
        const double half = (static_cast<double>(random() % 2000000) - 1000000 + 0.5) / 1e10;
        values.push_back(half);
        values.push_back(std::nextafter(half, 1.0));
    }
    for (double x : values) {
        const std::string expected = TidyNumber(NumberText(x, 10));
        ASSERT_EQ(CoordinateText(x), expected) << std::hexfloat << x;
        double value = 0;
        std::from_chars(expected.data(), expected.data() + expected.size(), value);
        ASSERT_EQ(SampleValue(x), value) << expected;
        ASSERT_EQ(std::signbit(SampleValue(x)), std::signbit(value)) << expected;
    }
}

TEST_F(PlotTest, InvalidSamplesBreakTheCurveAndAreLeftOutOfTableAndExtents) {
    Run("plot(-1; x; 1; 4; q.txt) = 1/x\r\n");
    EXPECT_EQ(ReadFileBytes(Path("q.txt")), "Id\tX\tY\r\n0\t-1\t-1\r\n1\t-0.5\t-2\r\n3\t0.5\t2\r\n4\t1\t1\r\n");
    EXPECT_EQ(plots.sampleValid, (std::vector<std::uint8_t>{1, 1, 0, 1, 1}));
    EXPECT_EQ(Plot(1).yMin, -2);
    EXPECT_EQ(Plot(1).yMax, 2);

    // sqrt is undefined on the left half: the extents start at the first valid sample.
    Run("plot(-1; x; 1; 4) = sqrt(x)");
    EXPECT_EQ(Plot(1).xMin, 0);
    EXPECT_EQ(Plot(1).yMin, 0);
    EXPECT_EQ(Plot(1).yMax, 1);
}

TEST_F(PlotTest, DegenerateExtentsGetAUnitRange) {
    Run("plot(0; x; 4; 4) = 5\r\nplot(-1; x; 1; 2) = sqrt(-1-x*x)\r\nplot(-1; x; 1; 2) = sqrt(-x)*sqrt(x)");
    // Sampled last: only x = 0 is valid.
    EXPECT_EQ(std::vector<double>({Plot(3).xMin, Plot(3).xMax, Plot(3).yMin, Plot(3).yMax}),
              std::vector<double>({-0.5, 0.5, -0.5, 0.5}));
    EXPECT_EQ(Plot(1).yMin, 4.5);
    EXPECT_EQ(Plot(1).yMax, 5.5);
    // Nothing valid: the range and a unit range around 0.
    EXPECT_EQ(std::vector<double>({Plot(2).xMin, Plot(2).xMax, Plot(2).yMin, Plot(2).yMax}),
              std::vector<double>({-1, 1, -0.5, 0.5}));
    // No expression at all: no sample is valid either.
    Run("plot(-1; x; 1; 2) = x +");
    EXPECT_EQ(plots.sampleValid, (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(std::vector<double>({Plot(1).xMin, Plot(1).xMax, Plot(1).yMin, Plot(1).yMax}),
              std::vector<double>({-1, 1, -0.5, 0.5}));
}

TEST_F(PlotTest, PointTableTargetsAndAFailedWrite) {
    std::filesystem::create_directories(Path("sub"));
    std::filesystem::create_directories(Path("taken"));
    startDir = Path("sub/");
    Run("plot(0; x; 1; 1; rel.txt) = x\r\nplot(0; x; 1; 1; " + Path("abs.txt") + ") = x");
    EXPECT_EQ(ReadFileBytes(Path("sub/rel.txt")), "Id\tX\tY\r\n0\t0\t0\r\n1\t1\t1\r\n");
    EXPECT_TRUE(FileExists(Path("abs.txt")));

    testing::internal::CaptureStderr();
    const ProcessResult r = Run("plot(0; x; 1; 1; " + Path("taken") + ") = x\r\nexpr = 2");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Tessara: Error: can't write the file.\r\n" + Path("taken")), std::string::npos) << err;
    EXPECT_EQ(r.errorCount, 0);
    EXPECT_EQ(plots.plotCount, 1); // the plot went on
    EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
}

TEST_F(PlotTest, WithoutADisplayOneNotePerRun) {
    for (int run = 0; run < 2; ++run) {
        testing::internal::CaptureStderr();
        Run("plot(0; x; 1; 2) = x\r\nplot(0; x; 1; 2) = x");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Tessara: no display; plot windows are not shown and no screenshots are taken\n");
    }
}

// The real program on a server: the run ends with its output, the point
// table is written, and the missing display is said once.
TEST(PlotRun, WithoutADisplayTheRunEndsWithItsOutput) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), "plot(-2; x; 2; 4; p.txt) = x^2\r\nplot(0; x; 1; 2) = x\r\nexpr = 1\r\n");
    const RunResult r = RunTessara(dir, {"/i", "a.kvx", "/o", "out.kvx", "/spl:0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Tessara: no display; plot windows are not shown and no screenshots are taken\n");
    EXPECT_NE(ReadFileBytes(dir.file("out.kvx")).find("Executed Commands: 3, Errors found: 0"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.file("p.txt")).size(), 45u); // the five lines of the example
    EXPECT_FALSE(FileExists(dir.file("aPlotNr_01.jpg")));
}

TEST(PlotNames, ScreenshotFileNames) {
    std::int32_t counter = 0;
    EXPECT_EQ(ScreenshotFileName("", counter), "");
    EXPECT_EQ(counter, 0);
    const std::string here = CurrentFolder();
    EXPECT_EQ(ScreenshotFileName("0", counter), here + "aPlotNr_01.jpg");
    EXPECT_EQ(ScreenshotFileName("/shots/", counter), "/shots/aPlotNr_02.jpg");
    counter = 98;
    EXPECT_EQ(ScreenshotFileName("0", counter), here + "aPlotNr_99.jpg");
    EXPECT_EQ(ScreenshotFileName("rel/", counter), "rel/aPlotNr_100.jpg");
}

TEST(PlotNames, ReadoutNumbers) {
    const std::pair<double, const char*> cases[] = {{150.25, "150"}, {99.5, "99.5"},     {100, "100"},
                                                    {-100.5, "-100"}, {0.123456, "0.1235"}, {-0.00004, "0"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(ReadoutNumber(value), text) << value;
}

TEST(PlotNames, WindowsTileLeftToRightAndWrapBelowTheFrame) {
    const WindowRect first = PlotWindowPosition(nullptr, 1024, 0);
    EXPECT_EQ(std::vector<int>({first.x, first.y, first.width, first.height}), std::vector<int>({0, 0, 400, 400}));
    const WindowRect previous{10, 20, 400, 400};
    const WindowRect second = PlotWindowPosition(&previous, 1024, 0);
    EXPECT_EQ(std::vector<int>({second.x, second.y}), std::vector<int>({417, 20}));
    // A frame of up to 23 pixels fits in the 430 of a row; a taller one moves the row down.
    for (const auto& [frame, y] : {std::pair{0, 450}, {23, 450}, {45, 472}}) {
        const WindowRect wrapped = PlotWindowPosition(&second, 1024, frame);
        EXPECT_EQ(std::vector<int>({wrapped.x, wrapped.y}), std::vector<int>({0, y})) << frame;
    }
}

} // namespace
