#include "AuxFunct/TidyNumber.h"

std::string TidyNumber(std::string_view text) {
    const auto start = text.find_first_of("0123456789.+-");
    text = start == std::string_view::npos ? std::string_view{} : text.substr(start);
    if (text.find('.') != std::string_view::npos) {
        const auto last = text.find_last_not_of('0');
        text = text.substr(0, last == std::string_view::npos ? 0 : last + 1);
    }
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty()) return std::string(1, '0');
    std::string result;
    result.reserve(text.size() + 1);
    if (text.front() == '.') result += '0';
    result += text;
    return result;
}
