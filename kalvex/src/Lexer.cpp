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
    constexpr std::ptrdiff_t kExactDigits = 15;
    const char* const start = at_;
    const char* p = at_;
    std::uint64_t mantissa = 0;
    unsigned digit = 0;
    while (p < end_ && (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
        mantissa = mantissa * 10 + digit;
        ++p;
    }
    std::ptrdiff_t digits = p - start;
    std::ptrdiff_t decimals = 0;
    if (p < end_ && *p == '.') {
        const char* const fraction = ++p;
        while (p < end_ && (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
            mantissa = mantissa * 10 + digit;
            ++p;
        }
        decimals = p - fraction;
        digits += decimals;
    }
    bool exponent = false;
    // An exponent needs digits: "1e5" and "2E-3" are numbers, while in "2e"
    // or "2ex" the letter starts a name (implicit multiplication).
    if (p < end_ && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end_ && (*q == '+' || *q == '-')) ++q;
        if (q < end_ && HasClass(*q, kDigit)) {
            while (q < end_ && HasClass(*q, kDigit)) ++q;
            p = q;
            exponent = true;
        }
    }
    t.type = Tok::Number;
    t.text = std::string_view(start, static_cast<std::size_t>(p - start));
    at_ = p;
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

void Lexer::ReadSymbol(Token& t) {
    const char c = *at_;
    const char next = at_ + 1 < end_ ? at_[1] : '\0';
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
    t.text = std::string_view(at_, len);
    at_ += len;
}

}  // namespace kalvex
