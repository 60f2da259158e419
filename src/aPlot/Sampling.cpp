#include "aPlot/Sampling.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "AuxFunct/TidyNumber.h"
#include "bindings/KalvexApi.h"
#include "parser/ResultText.h"

namespace {

constexpr double kTenDecimals = 1e10;

// A degenerate extent lo == hi becomes the unit range around the value.
void Widen(double& lo, double& hi) {
    if (lo < hi) return;
    lo -= 0.5;
    hi += 0.5;
}

} // namespace

std::string CoordinateText(double value) { return TidyNumber(NumberText(value, 10)); }

double SampleValue(double x) {
    // x * 1e10 rounded to an integer N, then N / 1e10: both N and 1e10 are
    // exact doubles, so the division gives the double nearest to the decimal
    // text, as reading that text does. The shortcut holds unless the product
    // lies so close to a half that its own rounding could have moved it
    // across; those values, and those too large for an exact N, take the text.
    const double scaled = x * kTenDecimals;
    if (std::fabs(scaled) < 0x1p52) {
        const double nearest = std::nearbyint(scaled);
        if (0.5 - std::fabs(scaled - nearest) > std::fabs(scaled) * 0x1p-52) return nearest / kTenDecimals;
    }
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
