#include "TextUtil.h"

#include <algorithm>

namespace kalvex {

bool IsName(std::string_view text) {
    return !text.empty() && IsNameStart(text[0]) && std::all_of(text.begin(), text.end(), IsNameChar);
}

std::string ToLower(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace kalvex
