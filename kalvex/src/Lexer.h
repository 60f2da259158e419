// Cuts expression text into tokens on demand.
#pragma once

#include <string_view>

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

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    // Reads the next token into t. A number that does not fit a double, or a
    // byte outside the language, gives a token of type Bad with the error
    // raised.
    void Next(Token& t);

private:
    void ReadNumber(Token& t);
    // The value of a number too long for the exact short path (or with an
    // exponent), with its range and syntax checked.
    [[gnu::noinline]] void ConvertNumber(Token& t);

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace kalvex
