#include "Lexer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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

}  // namespace

Token Lexer::ReadNumber(std::size_t start) {
    std::size_t i = start;
    const std::size_t n = text_.size();
    while (i < n && IsDigit(text_[i])) ++i;
    if (i < n && text_[i] == '.') {
        ++i;
        while (i < n && IsDigit(text_[i])) ++i;
    }
    // An exponent needs digits: "1e5" and "2E-3" are numbers, while in "2e"
    // or "2ex" the letter starts a name (implicit multiplication).
    if (i < n && (text_[i] == 'e' || text_[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text_[j] == '+' || text_[j] == '-')) ++j;
        if (j < n && IsDigit(text_[j])) {
            while (j < n && IsDigit(text_[j])) ++j;
            i = j;
        }
    }
    Token t;
    t.type = Tok::Number;
    t.pos = static_cast<int>(start) + 1;
    t.text = text_.substr(start, i - start);
    at_ = i;
    if (t.text == ".") {
        t.type = Tok::Bad;
        Fail(kSyntax, "Syntax error at position " + std::to_string(t.pos) + ": '.' is not a number");
        return t;
    }
    const auto res = std::from_chars(t.text.data(), t.text.data() + t.text.size(), t.num);
    if (res.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow; underflow reads as zero.
        const double v = std::strtod(std::string(t.text).c_str(), nullptr);
        if (std::isinf(v)) {
            t.type = Tok::Bad;
            Fail(kOutOfRange, "Number out of range: '" + std::string(t.text) + "' at position " +
                                  std::to_string(t.pos));
            return t;
        }
        t.num = 0.0;
    } else if (res.ec != std::errc() || res.ptr != t.text.data() + t.text.size()) {
        t.type = Tok::Bad;
        Fail(kSyntax, "Syntax error at position " + std::to_string(t.pos) + ": malformed number '" +
                          std::string(t.text) + "'");
    }
    return t;
}

Token Lexer::Next() {
    const std::size_t n = text_.size();
    while (at_ < n && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' ||
                       text_[at_] == '\n')) {
        ++at_;
    }
    Token t;
    t.pos = static_cast<int>(at_) + 1;
    if (at_ >= n) {
        t.type = Tok::End;
        return t;
    }
    const char c = text_[at_];
    if (IsDigit(c) || (c == '.' && at_ + 1 < n && IsDigit(text_[at_ + 1]))) {
        return ReadNumber(at_);
    }
    if (IsNameStart(c)) {
        std::size_t i = at_ + 1;
        while (i < n && IsNameChar(text_[i])) ++i;
        t.type = Tok::Name;
        t.text = text_.substr(at_, i - at_);
        at_ = i;
        return t;
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
            t.type = Tok::Bad;
            Fail(kSyntax, "Syntax error at position " + std::to_string(t.pos) + ": unexpected " +
                              DescribeByte(static_cast<unsigned char>(c)));
            break;
    }
    t.text = text_.substr(at_, len);
    at_ += len;
    return t;
}

}  // namespace kalvex
