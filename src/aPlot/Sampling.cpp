#include "aPlot/Sampling.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "AuxFunct/ResultText.h"
#include "AuxFunct/TidyNumber.h"
#include "bindings/KalvexApi.h"

namespace {

constexpr double kTenDecimals = 1e10;
constexpr std::uint64_t kTenDecimalUnits = 10'000'000'000;

// x * 1e10 rounded to the nearest integer (a tie to the even one), as the
// ten-decimal text of x shows it, when that integer can be told from the
// rounded product: it must be exact as a double, and the product must not lie
// so close to a half that its own rounding could have moved it across.
bool TenDecimalUnits(double x, double& units) {
    const double scaled = x * kTenDecimals;
    if (!(std::fabs(scaled) < 0x1p52)) return false;
    const double nearest = std::nearbyint(scaled);
    if (!(0.5 - std::fabs(scaled - nearest) > std::fabs(scaled) * 0x1p-52)) return false;
    units = nearest;
    return true;
}

// A degenerate extent lo == hi becomes the unit range around the value.
void Widen(double& lo, double& hi) {
    if (lo < hi) return;
    lo -= 0.5;
    hi += 0.5;
}

} // namespace

std::string CoordinateText(double value) {
    std::string text;
    AppendCoordinateText(text, value);
    return text;
}

void AppendCoordinateText(std::string& out, double value) {
    double units = 0;
    if (!TenDecimalUnits(value, units)) {
        out += TidyNumber(NumberText(value, 10));
        return;
    }
    // The fixed-point text of units / 1e10: "-" for a negative value (also
    // when it rounds to zero, as "%.10f" writes it), the integer part, and the
    // decimals without trailing zeros.
    const auto magnitude = static_cast<std::uint64_t>(std::fabs(units));
    const std::uint64_t whole = magnitude / kTenDecimalUnits;
    std::uint64_t fraction = magnitude % kTenDecimalUnits;
    char buffer[32];
    char* end = buffer;
    if (std::signbit(value)) *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, whole).ptr;
    if (fraction != 0) {
        *end++ = '.';
        int digits = 10;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int d = digits - 1; d >= 0; --d) {
            end[d] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        end += digits;
    }
    out.append(buffer, end);
}

double SampleValue(double x) {
    // N / 1e10 with both N and 1e10 exact doubles is the double nearest to
    // the decimal text, as reading that text gives it.
    double units = 0;
    if (TenDecimalUnits(x, units)) return units / kTenDecimals;
    const std::string text = CoordinateText(x);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void SamplePlot(PlotState& plots, const KalvexApi& kx, int k, double from, double to) {
    PlotRecord& record = plots.plotTable[static_cast<std::size_t>(k)];
    const auto n = static_cast<std::size_t>(record.intervals);
    const double step = (to - from) / static_cast<double>(n);
    plots.sampleX.resize(n + 1);
    plots.sampleY.resize(n + 1);
    plots.sampleValid.resize(n + 1);
    for (std::size_t i = 0; i < n; ++i) plots.sampleX[i] = SampleValue(from + static_cast<double>(i) * step);
    plots.sampleX[n] = SampleValue(to);
    kx.e_evalAt(record.expression.c_str(), record.variable.c_str(), plots.sampleX.data(),
                static_cast<int>(n + 1), plots.sampleY.data(), plots.sampleValid.data());

    bool any = false;
    double xMin = from, xMax = to, yMin = 0, yMax = 0;
    for (std::size_t i = 0; i <= n; ++i) {
        const double x = plots.sampleX[i];
        const double y = plots.sampleY[i];
        if (!plots.sampleValid[i] || !std::isfinite(y)) {
            plots.sampleValid[i] = 0;
            continue;
        }
        if (!any) {
            xMin = xMax = x;
            yMin = yMax = y;
            any = true;
        }
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    }
    Widen(xMin, xMax);
    Widen(yMin, yMax);
    record.xMin = xMin;
    record.xMax = xMax;
    record.yMin = yMin;
    record.yMax = yMax;
}
