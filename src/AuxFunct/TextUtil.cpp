#include "AuxFunct/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>

std::string_view TrimView(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

namespace {

// The value of one digit in base, or -1 when c is not such a digit.
int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::int32_t IntegerValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') base = 16, ++i;
    else if (i < text.size() && text[i] == '%') base = 2, ++i;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (int d; i < text.size() && (d = DigitValue(text[i], base)) >= 0; ++i)
        value = std::min(value * base + d, limit);
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

double DecimalValue(std::string_view text) {
    // strtod needs a terminated text; a field is short, so a copy is cheap.
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}
