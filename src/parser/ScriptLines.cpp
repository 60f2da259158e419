#include "parser/ScriptLines.h"

#include <cstring>

namespace {

const char* Find(const char* from, const char* to, char c) {
    return static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(to - from)));
}

} // namespace

std::vector<std::string_view> CutLines(std::string_view text) {
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    // Counting the LFs first (memchr is fast) makes the vector one allocation
    // for LF and CR LF texts.
    std::size_t count = 1;
    for (const char* p = start; (p = Find(p, end, '\n')) != nullptr; ++p) ++count;
    std::vector<std::string_view> lines;
    lines.reserve(count);
    // The next LF at or after start (end when there is none), found with
    // memchr and kept while lone CRs before it end lines of their own, so
    // that a text of CR line ends is not searched again for every line.
    const char* lf = Find(start, end, '\n');
    if (!lf) lf = end;
    while (start < end) {
        if (lf < start) {
            lf = Find(start, end, '\n');
            if (!lf) lf = end;
        }
        const char* cr = Find(start, lf, '\r');
        const char* lineEnd = cr ? cr : lf;
        if (lineEnd == end) break;
        lines.emplace_back(start, static_cast<std::size_t>(lineEnd - start));
        const bool crLf = *lineEnd == '\r' && lineEnd + 1 == lf && lf != end;
        start = lineEnd + (crLf ? 2 : 1);
    }
    lines.emplace_back(start, static_cast<std::size_t>(end - start));
    return lines;
}
