#include "Listing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kalvex {

namespace {

constexpr int kMaxDecimals = 30;

std::string FormatFixed(double v, int decimals) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s(buf);
    // A value that rounds to zero is shown without a sign.
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

}  // namespace

int DecimalsOfMask(const char* zeroMask) {
    if (!zeroMask) return 0;
    const char* point = std::strchr(zeroMask, '.');
    if (!point) return 0;
    int n = 0;
    while (point[1 + n] == '0') ++n;
    return std::min(n, kMaxDecimals);
}

std::string ListMatrix(const double* elements, int rows, int cols, int decimals) {
    const auto nCols = static_cast<std::size_t>(cols);
    const std::size_t count = static_cast<std::size_t>(rows) * nCols;
    std::vector<std::string> texts(count);
    std::vector<std::size_t> width(nCols, 0);
    for (std::size_t k = 0; k < count; ++k) {
        texts[k] = FormatFixed(elements[k], decimals);
        width[k % nCols] = std::max(width[k % nCols], texts[k].size());
    }
    std::string out;
    for (std::size_t k = 0; k < count; ++k) {
        if (k % nCols == 0) out += "\r\n";
        out += "  ";
        out.append(width[k % nCols] - texts[k].size(), ' ');
        out += texts[k];
    }
    return out;
}

}  // namespace kalvex
