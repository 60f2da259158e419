// Small text helpers shared by the command line, the run driver and the
// script processor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The rule of 74 dashes under the About text and in the output header.
inline const std::string kDashRule(74, '-');

// The text without leading and trailing blanks (spaces only, not tabs).
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// The text with ASCII letters in lower case.
std::string ToLower(std::string_view text);

// The integer value of a text: leading blanks and tabs skipped, an optional
// sign, then "$" and hexadecimal digits, "%" and binary digits, or decimal
// digits; reading stops at the first other character; no digits give 0.
// Values beyond the 32-bit range are clamped to it.
std::int32_t IntegerValue(std::string_view text);

// The decimal number at the start of a text as atof reads it (leading blanks,
// sign, digits, point, exponent); 0 when it does not start with a number.
double DecimalValue(std::string_view text);
