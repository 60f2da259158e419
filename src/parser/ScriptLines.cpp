#include "parser/ScriptLines.h"

#include <cstddef>

namespace {

// Length of the line end at text[k] (0 when text[k] ends no line).
std::size_t LineEndAt(std::string_view text, std::size_t k) {
    if (text[k] == '\n') return 1;
    if (text[k] != '\r') return 0;
    return k + 1 < text.size() && text[k + 1] == '\n' ? 2 : 1;
}

} // namespace

std::vector<std::string_view> CutLines(std::string_view text) {
    // Counting first lets the vector be allocated once, even for huge scripts.
    std::size_t count = 1;
    for (std::size_t k = 0; k < text.size(); ++k) {
        std::size_t end = LineEndAt(text, k);
        if (end == 0) continue;
        ++count;
        k += end - 1;
    }
    std::vector<std::string_view> lines;
    lines.reserve(count);
    std::size_t start = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        std::size_t end = LineEndAt(text, k);
        if (end == 0) continue;
        lines.push_back(text.substr(start, k - start));
        k += end - 1;
        start = k + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}
