// Character classes and small text helpers of the expression language, shared
// by the lexer (which reads the classes from one table built of them), the
// parser and the definitions.
#pragma once

#include <string>
#include <string_view>

namespace kalvex {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A letter or "_": what a name starts with.
constexpr bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

// A letter, a digit or "_": what follows the start of a name.
constexpr bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }

// Blank, tab, CR or LF: what separates tokens.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when text is a name of the language: a letter or "_", then letters,
// digits or "_".
bool IsName(std::string_view text);

// The text with ASCII capitals made small; other bytes stay as they are.
std::string ToLower(std::string_view text);

// The text without blanks (IsBlank) at either end.
std::string_view Trim(std::string_view text);

}  // namespace kalvex
