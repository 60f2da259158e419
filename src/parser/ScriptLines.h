// Cutting a text into lines: CR LF, a lone LF and a lone CR each end a line.
#pragma once

#include <string_view>
#include <vector>

// The lines of text, without their line ends, as views into text. The text
// after the last line end is one more line (empty when the text ends with a
// line end), so the count is the number of line ends plus one.
std::vector<std::string_view> CutLines(std::string_view text);
