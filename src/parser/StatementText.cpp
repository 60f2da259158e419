#include "parser/StatementText.h"

#include "parser/Statement.h"

std::string_view TextAfter(std::string_view line, std::size_t pos) {
    return pos >= line.size() ? std::string_view{} : TrimView(line.substr(pos));
}

std::string_view TextBetween(std::string_view line, std::size_t open, std::size_t close) {
    if (open == 0 || close <= open + 1 || open >= line.size()) return {};
    return TrimView(line.substr(open, close - open - 1));
}

std::string_view UpToZeroByte(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view Rest(const StatementContext& ctx) { return TextAfter(ctx.line, ctx.pos); }

std::string_view Inner(const StatementContext& ctx) {
    return TextBetween(ctx.line, ctx.parenOpen, ctx.parenClose);
}

std::string_view Field(std::string_view text, char sep, int k) {
    std::size_t start = 0;
    for (int field = 1; field < k; ++field) {
        const auto next = text.find(sep, start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    if (start > text.size()) return {};
    const auto end = text.find(sep, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string_view Word(std::string_view rest, int k) { return Field(rest, ' ', k); }

std::string Without(std::string_view text, char c) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != c) out += ch;
    return out;
}

std::string BracketName(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    if (name.empty() || name.front() != '[') out += '[';
    out += name;
    if (name.empty() || name.back() != ']') out += ']';
    return out;
}
