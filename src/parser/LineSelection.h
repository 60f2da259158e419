// The line selection of /lns: a list of line numbers, each enclosed in ";"
// («;3;7;12;»), offset by /lc. Each entry selects its line once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class LineSelection {
public:
    LineSelection(const std::string& lnsStr, std::int32_t lineCorrection);

    // The first line number >= i whose entry ";" + (line + lineCorrection) + ";"
    // is still in the list, its entry used up; lineCount + 1 when no such line
    // is left up to lineCount.
    int Take(int i, int lineCount);

    // The list as it reads after the run: every used entry «;n;» shortened to «;».
    std::string Shortened(const std::string& lnsStr) const;

private:
    std::int64_t lineCorrection_;
    // number -> offsets of its entries' digits in the list, the first entry last
    std::map<std::int64_t, std::vector<std::size_t>> entries_;
    std::vector<std::pair<std::size_t, std::size_t>> used_; // offset and length of used entries
};
