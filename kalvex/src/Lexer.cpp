#include "Lexer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Errors.h"

namespace kalvex {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }

std::string DescribeByte(unsigned char c) {
    char buf[32];
    if (c >= 0x21 && c < 0x7f) {
        std::snprintf(buf, sizeof buf, "character '%c'", c);
    } else {
        std::snprintf(buf, sizeof buf, "byte 0x%02X", c);
    }
    return buf;
}

// Kept out of line, so that the common paths of the lexer stay small.
[[gnu::cold, gnu::noinline]] void UnexpectedByte(Token& t, char c) {
    t.type = Tok::Bad;
    SyntaxError(t.pos, "unexpected " + DescribeByte(static_cast<unsigned char>(c)));
}

}  // namespace

void Lexer::ReadNumber(Token& t) {
    // Short decimals are read while they are scanned: a mantissa of at most
    // 15 digits with at most 22 decimals makes mantissa / 10^decimals one
    // correctly rounded division, the same double as from_chars would give.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kExactDigits = 15;
    const std::size_t start = at_;
    std::size_t i = start;
    const std::size_t n = text_.size();
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    const auto addDigit = [&] { mantissa = mantissa * 10 + static_cast<unsigned>(text_[i++] - '0'); };
    for (; i < n && IsDigit(text_[i]); ++digits) addDigit();
    if (i < n && text_[i] == '.') {
        for (++i; i < n && IsDigit(text_[i]); ++digits, ++decimals) addDigit();
    }
    bool exponent = false;
    // An exponent needs digits: "1e5" and "2E-3" are numbers, while in "2e"
    // or "2ex" the letter starts a name (implicit multiplication).
    if (i < n && (text_[i] == 'e' || text_[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text_[j] == '+' || text_[j] == '-')) ++j;
        if (j < n && IsDigit(text_[j])) {
            while (j < n && IsDigit(text_[j])) ++j;
            i = j;
            exponent = true;
        }
    }
    t.type = Tok::Number;
    t.text = text_.substr(start, i - start);
    at_ = i;
    if (!exponent && digits <= kExactDigits) {
        t.num = static_cast<double>(mantissa) / kPowersOfTen[decimals];
        return;
    }
    ConvertNumber(t);
}

void Lexer::ConvertNumber(Token& t) {
    const auto res = std::from_chars(t.text.data(), t.text.data() + t.text.size(), t.num);
    if (res.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow; underflow reads as zero.
        const double v = std::strtod(std::string(t.text).c_str(), nullptr);
        if (std::isinf(v)) {
            t.type = Tok::Bad;
            Fail(kOutOfRange, "Number out of range: '" + std::string(t.text) + "' at position " +
                                  std::to_string(t.pos));
            return;
        }
        t.num = 0.0;
    } else if (res.ec != std::errc() || res.ptr != t.text.data() + t.text.size()) {
        t.type = Tok::Bad;
        SyntaxError(t.pos, "malformed number '" + std::string(t.text) + "'");
    }
    return;
}

void Lexer::Next(Token& t) {
    const std::size_t n = text_.size();
    while (at_ < n && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' ||
                       text_[at_] == '\n')) {
        ++at_;
    }
    t.pos = static_cast<int>(at_) + 1;
    if (at_ >= n) {
        t.type = Tok::End;
        t.text = {};
        return;
    }
    const char c = text_[at_];
    if (IsDigit(c) || (c == '.' && at_ + 1 < n && IsDigit(text_[at_ + 1]))) {
        ReadNumber(t);
        return;
    }
    if (IsNameStart(c)) {
        std::size_t i = at_ + 1;
        while (i < n && IsNameChar(text_[i])) ++i;
        t.type = Tok::Name;
        t.text = text_.substr(at_, i - at_);
        at_ = i;
        return;
    }
    const char next = at_ + 1 < n ? text_[at_ + 1] : '\0';
    std::size_t len = 1;
    switch (c) {
        case '(': t.type = Tok::LParen; break;
        case ')': t.type = Tok::RParen; break;
        case '[': t.type = Tok::LBracket; break;
        case ']': t.type = Tok::RBracket; break;
        case ',': case ';': t.type = Tok::Comma; break;
        case '+': t.type = Tok::Plus; break;
        case '-': t.type = Tok::Minus; break;
        case '*': t.type = Tok::Star; break;
        case '/': t.type = Tok::Slash; break;
        case '^': t.type = Tok::Caret; break;
        case '<':
            if (next == '=') { t.type = Tok::Le; len = 2; }
            else if (next == '>') { t.type = Tok::Ne; len = 2; }
            else { t.type = Tok::Lt; }
            break;
        case '>':
            if (next == '=') { t.type = Tok::Ge; len = 2; }
            else { t.type = Tok::Gt; }
            break;
        case '=':
            t.type = Tok::Eq;
            if (next == '=') len = 2;
            break;
        case '!':
            if (next == '=') { t.type = Tok::Ne; len = 2; break; }
            [[fallthrough]];
        default:
            UnexpectedByte(t, c);
            break;
    }
    t.text = text_.substr(at_, len);
    at_ += len;
}

}  // namespace kalvex
