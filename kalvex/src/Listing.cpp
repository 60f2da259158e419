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
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    std::vector<std::string> texts(count);
    std::size_t width = 0;
    for (std::size_t k = 0; k < count; ++k) {
        texts[k] = FormatFixed(elements[k], decimals);
        width = std::max(width, texts[k].size());
    }
    std::string out;
    out.reserve(count * (width + 2) + static_cast<std::size_t>(rows) * 2);
    for (std::size_t k = 0; k < count; ++k) {
        if (k % static_cast<std::size_t>(cols) == 0) out += "\r\n";
        out += "  ";
        out.append(width - texts[k].size(), ' ');
        out += texts[k];
    }
    return out;
}

}  // namespace kalvex
