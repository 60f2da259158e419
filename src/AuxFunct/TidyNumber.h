// Tidying of number texts: the short form of a value that is handed back to
// the numeric library or shown as a plot coordinate.
#pragma once

#include <string>
#include <string_view>

// Skips leading characters outside "0123456789.+-", removes trailing zeros
// after a decimal point and then a final point, puts "0" before a leading
// point, and gives "0" for an empty result: "2.5000" -> "2.5", "6.0000" -> "6",
// ".50" -> "0.5", "100" -> "100", "abc12.50x" -> "12.50x".
std::string TidyNumber(std::string_view text);
