// Cuts expression text into tokens on demand.
#pragma once

#include <array>
#include <string_view>

#include "TextUtil.h"

namespace kalvex {

enum class Tok {
    End, Number, Name, LParen, RParen, LBracket, RBracket, Comma,
    Plus, Minus, Star, Slash, Caret, Lt, Le, Gt, Ge, Eq, Ne, Bad,
};

struct Token {
    Tok type = Tok::End;
    int pos = 1;             // 1-based position of the first character
    std::string_view text;   // the characters of the token
    double num = 0.0;        // value of a Number
};

// What a byte can be in expression text, as bits of one table lookup.
enum CharClass : unsigned char {
    kDigit = 1,
    kNameStart = 2,
    kNameChar = 4,
    kBlank = 8,
};

// The classes of TextUtil.h, one table entry per byte.
constexpr std::array<unsigned char, 256> MakeCharClasses() {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        classes[static_cast<std::size_t>(c)] =
            static_cast<unsigned char>((IsDigit(ch) ? kDigit : 0) | (IsNameStart(ch) ? kNameStart : 0) |
                                       (IsNameChar(ch) ? kNameChar : 0) | (IsBlank(ch) ? kBlank : 0));
    }
    return classes;
}

inline constexpr std::array<unsigned char, 256> kCharClasses = MakeCharClasses();

inline bool HasClass(char c, CharClass cls) { return (kCharClasses[static_cast<unsigned char>(c)] & cls) != 0; }

class Lexer {
public:
    explicit Lexer(std::string_view text)
        : begin_(text.data()), at_(text.data()), end_(text.data() + text.size()) {}

    // Reads the next token into t. A number that does not fit a double, or a
    // byte outside the language, gives a token of type Bad with the error
    // raised. Inline: the parser asks for every token, and numbers and
    // names are most of them.
    void Next(Token& t) {
        while (at_ < end_ && HasClass(*at_, kBlank)) ++at_;
        t.pos = static_cast<int>(at_ - begin_) + 1;
        if (at_ == end_) {
            t.type = Tok::End;
            t.text = {};
        } else if (HasClass(*at_, kDigit) || (*at_ == '.' && at_ + 1 < end_ && HasClass(at_[1], kDigit))) {
            ReadNumber(t);
        } else if (HasClass(*at_, kNameStart)) {
            const char* start = at_;
            while (++at_ < end_ && HasClass(*at_, kNameChar)) {}
            t.type = Tok::Name;
            t.text = std::string_view(start, static_cast<std::size_t>(at_ - start));
        } else {
            ReadSymbol(t);
        }
    }

private:
    void ReadNumber(Token& t);
    void ReadSymbol(Token& t);
    // The value of a number too long for the exact short path (or with an
    // exponent), with its range and syntax checked.
    [[gnu::noinline]] void ConvertNumber(Token& t);

    const char* begin_;
    const char* at_;
    const char* end_;
};

}  // namespace kalvex
