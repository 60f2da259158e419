// The parts of a statement line that handlers read: the text after the "=",
// the parenthesised head, words and fields, and decimal values.
#pragma once

#include <string>
#include <string_view>

#include "AuxFunct/TextUtil.h"

struct StatementContext;

// The text after the 1-based position pos, trimmed ("" when pos is past the end).
std::string_view TextAfter(std::string_view line, std::size_t pos);

// The characters strictly between the 1-based positions open and close,
// trimmed; "" when open is 0 or close does not follow open.
std::string_view TextBetween(std::string_view line, std::size_t open, std::size_t close);

// The text up to its first zero byte: what the library reads of it, and so
// what a statement shows and evaluates.
std::string_view UpToZeroByte(std::string_view text);

// rest: the text after the statement's "=" (or its first "("), trimmed.
std::string_view Rest(const StatementContext& ctx);
// inner: the text between the statement's parentheses, trimmed.
std::string_view Inner(const StatementContext& ctx);

// Field k (1-based) of text cut at every sep; "" past the last field.
std::string_view Field(std::string_view text, char sep, int k);

// Word k (1-based) of rest + " " cut at single spaces, so that two spaces in a
// row leave an empty word.
std::string_view Word(std::string_view rest, int k);

// The text without any occurrence of c.
std::string Without(std::string_view text, char c);

// name with one leading "[" and one trailing "]" added unless present.
std::string BracketName(std::string_view name);
