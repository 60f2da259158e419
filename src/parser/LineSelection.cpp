#include "parser/LineSelection.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

// The value of an entry that a line number written in decimal can match
// exactly: no sign other than "-", no leading zeros, no blanks.
bool CanonicalNumber(std::string_view entry, std::int64_t& value) {
    if (entry.empty()) return false;
    const char* end = entry.data() + entry.size();
    auto [ptr, ec] = std::from_chars(entry.data(), end, value);
    return ec == std::errc() && ptr == end && std::to_string(value) == entry;
}

} // namespace

LineSelection::LineSelection(const std::string& lnsStr, std::int32_t lineCorrection)
    : lineCorrection_(lineCorrection) {
    // An entry that ";n;" can match lies between two consecutive ";". Removing
    // one entry never creates or destroys another, so the list can be read once.
    std::size_t open = lnsStr.find(';');
    while (open != std::string::npos) {
        std::size_t close = lnsStr.find(';', open + 1);
        if (close == std::string::npos) break;
        std::int64_t value = 0;
        if (CanonicalNumber(std::string_view(lnsStr).substr(open + 1, close - open - 1), value)) {
            entries_[value].push_back(open + 1);
        }
        open = close;
    }
    for (auto& entry : entries_) std::reverse(entry.second.begin(), entry.second.end());
}

int LineSelection::Take(int i, int lineCount) {
    auto it = entries_.lower_bound(std::int64_t{i} + lineCorrection_);
    if (it == entries_.end() || it->first - lineCorrection_ > lineCount) return lineCount + 1;
    const std::int64_t number = it->first;
    used_.emplace_back(it->second.back(), std::to_string(number).size());
    it->second.pop_back();
    if (it->second.empty()) entries_.erase(it);
    return static_cast<int>(number - lineCorrection_);
}

std::string LineSelection::Shortened(const std::string& lnsStr) const {
    std::vector<std::pair<std::size_t, std::size_t>> cuts = used_;
    std::sort(cuts.begin(), cuts.end());
    std::string out;
    out.reserve(lnsStr.size());
    std::size_t from = 0;
    for (const auto& [offset, length] : cuts) {
        out.append(lnsStr, from, offset - from);
        from = offset + length + 1; // the entry and its closing ";"
    }
    out.append(lnsStr, from);
    return out;
}
