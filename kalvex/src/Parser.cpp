#include "Parser.h"

#include <algorithm>
#include <limits>

#include "Builtins.h"
#include "Errors.h"
#include "Lexer.h"
#include "TextUtil.h"

namespace kalvex {

namespace {

std::string Describe(const Token& t) {
    if (t.type == Tok::End) return "end of expression";
    std::string s = "'";
    return s.append(t.text).append("'");
}

class Parser {
public:
    Parser(std::string_view text, const std::vector<std::string>& params, Code& code)
        : lex_(text), params_(params), code_(code) {}

    bool Run() {
        if (!Advance()) return false;
        if (tok_.type == Tok::End) return Fail(kEmpty, "Empty expression");
        if (!Expression()) return false;
        if (tok_.type != Tok::End) return Unexpected();
        return true;
    }

private:
    bool Advance() {
        prevType_ = tok_.type;
        lex_.Next(tok_);
        return tok_.type != Tok::Bad;
    }

    bool Unexpected() {
        return SyntaxError(tok_.pos, "unexpected " + Describe(tok_));
    }

    bool Expect(Tok type, const char* what) {
        if (tok_.type != type) {
            return SyntaxError(tok_.pos, std::string("expected ") + what + ", found " + Describe(tok_));
        }
        return Advance();
    }

    void Emit(Op op, int pos, std::int32_t a = 0, double num = 0.0, int argc = 0) {
        Instr& in = code_.instrs.emplace_back();
        in.op = op;
        in.a = a;
        in.pos = pos;
        in.num = num;
        in.argc = static_cast<std::uint16_t>(argc);
    }

    std::int32_t AddName(std::string lower) {
        code_.names.push_back(std::move(lower));
        return static_cast<std::int32_t>(code_.names.size() - 1);
    }

    // Runs parse one level deeper. Every parenthesis, argument list, sign and
    // exponent goes through here, so counting the levels bounds the recursion
    // of deep input; plain operands, the common case, cost nothing.
    template <class Parse>
    bool Nested(Parse parse) {
        if (depth_ == kMaxNesting) {
            return Fail(kTooDeep, "Nesting too deep" + Where(tok_.pos) + ": more than " +
                                      std::to_string(kMaxNesting) + " levels of parentheses, signs or powers");
        }
        ++depth_;
        const bool ok = parse();
        --depth_;
        return ok;
    }

    // The binding strength of the operator at tok_, 0 when tok_ is none:
    // comparisons bind loosest, then "+ -", then "* /" and the implicit
    // product of a number directly followed by a name or a bracket ("6x^2",
    // "2(x+1)", "3[A]").
    int Precedence() const {
        switch (tok_.type) {
            case Tok::Lt: case Tok::Le: case Tok::Gt: case Tok::Ge: case Tok::Eq: case Tok::Ne: return 1;
            case Tok::Plus: case Tok::Minus: return 2;
            case Tok::Star: case Tok::Slash: return 3;
            case Tok::Name: case Tok::LParen: case Tok::LBracket: return prevType_ == Tok::Number ? 3 : 0;
            default: return 0;
        }
    }

    static Op BinaryOp(Tok type) {
        switch (type) {
            case Tok::Lt: return Op::Lt;
            case Tok::Le: return Op::Le;
            case Tok::Gt: return Op::Gt;
            case Tok::Ge: return Op::Ge;
            case Tok::Eq: return Op::Eq;
            case Tok::Ne: return Op::Ne;
            case Tok::Plus: return Op::Add;
            case Tok::Minus: return Op::Sub;
            case Tok::Slash: return Op::Div;
            default: return Op::Mul;
        }
    }

    // Precedence climbing: an operand, then every operator at least as strong
    // as minPrecedence with its right operand, which takes only stronger
    // operators, so that each level groups to the left.
    bool Binary(int minPrecedence) {
        if (!Unary()) return false;
        for (int precedence = Precedence(); precedence >= minPrecedence && precedence > 0;
             precedence = Precedence()) {
            const Tok type = tok_.type;
            const int pos = tok_.pos;
            const bool implicitProduct = type == Tok::Name || type == Tok::LParen || type == Tok::LBracket;
            if (!implicitProduct && !Advance()) return false;
            if (!Binary(precedence + 1)) return false;
            Emit(BinaryOp(implicitProduct ? Tok::Star : type), pos);
        }
        return true;
    }

    // A whole expression: operators of every strength.
    bool Expression() { return Binary(1); }

    bool Unary() {
        if (tok_.type != Tok::Minus && tok_.type != Tok::Plus) return Power();
        const bool negate = tok_.type == Tok::Minus;
        const int pos = tok_.pos;
        if (!Nested([&] { return Advance() && Unary(); })) return false;
        if (negate) Emit(Op::Neg, pos);
        return true;
    }

    // "^" binds tighter than a leading sign and groups to the right; its
    // exponent may carry a sign itself ("2^-1").
    bool Power() {
        if (!Primary()) return false;
        if (tok_.type != Tok::Caret) return true;
        const int pos = tok_.pos;
        if (!Nested([&] { return Advance() && Unary(); })) return false;
        Emit(Op::Pow, pos);
        return true;
    }

    bool Primary() {
        // Numbers are the common operand: no copy of the token for them.
        if (tok_.type == Tok::Number) {
            Emit(Op::Num, tok_.pos, 0, tok_.num);
            return Advance();
        }
        const Token t = tok_;
        switch (t.type) {
            case Tok::LParen:
                return Nested([&] { return Advance() && Expression(); }) && Expect(Tok::RParen, "')'");
            case Tok::LBracket: {
                if (!Advance()) return false;
                if (tok_.type != Tok::Name) {
                    return SyntaxError(tok_.pos, "expected a matrix name after '[', found " + Describe(tok_));
                }
                Emit(Op::Mat, t.pos, AddName(ToLower(tok_.text)));
                return Advance() && Expect(Tok::RBracket, "']'");
            }
            case Tok::Name:
                return NameOrCall(t);
            default:
                return Unexpected();
        }
    }

    bool NameOrCall(const Token& t) {
        std::string lower = ToLower(t.text);
        if (!Advance()) return false;
        if (tok_.type != Tok::LParen) {
            const auto p = std::find(params_.begin(), params_.end(), lower);
            if (p != params_.end()) {
                Emit(Op::Param, t.pos, static_cast<std::int32_t>(p - params_.begin()));
            } else if (const Constant* c = FindConstant(lower)) {
                Emit(Op::Num, t.pos, 0, c->value);
            } else {
                Emit(Op::Name, t.pos, AddName(std::move(lower)));
            }
            return true;
        }
        int argc = 0;
        const auto arguments = [&] {
            if (!Advance()) return false;
            if (tok_.type == Tok::RParen) return true;
            for (;;) {
                if (!Expression()) return false;
                ++argc;
                if (tok_.type != Tok::Comma) return true;
                if (!Advance()) return false;
            }
        };
        if (!Nested(arguments)) return false;
        if (!Expect(Tok::RParen, "')' or ','")) return false;
        if (argc > std::numeric_limits<std::uint16_t>::max()) {
            return Fail(kArgumentCount, "Wrong number of arguments: too many arguments for '" + lower + "'" +
                                            Where(t.pos));
        }
        const int builtin = FindBuiltin(lower);
        if (builtin < 0) {
            Emit(Op::UserCall, t.pos, AddName(std::move(lower)), 0.0, argc);
            return true;
        }
        const Builtin& b = BuiltinAt(builtin);
        if (argc < b.minArgs || (b.maxArgs >= 0 && argc > b.maxArgs)) {
            std::string want = std::to_string(b.minArgs);
            if (b.maxArgs < 0) want = "at least " + want;
            else if (b.maxArgs != b.minArgs) want += " to " + std::to_string(b.maxArgs);
            return Fail(kArgumentCount, "Wrong number of arguments: " + lower + " takes " + want + ", got " +
                                            std::to_string(argc) + Where(t.pos));
        }
        const bool unary = b.unary != nullptr && b.matrixFn == MatrixFn::None;
        Emit(unary ? Op::Call1 : Op::Call, t.pos, builtin, 0.0, argc);
        code_.instrs.back().fn = b.unary;
        return true;
    }

    Lexer lex_;
    const std::vector<std::string>& params_;
    Code& code_;
    Token tok_;
    Tok prevType_ = Tok::End;
    int depth_ = 0;
};

}  // namespace

bool Compile(std::string_view text, const std::vector<std::string>& params, Code& out) {
    out.Clear();
    if (text.size() > kMaxExpressionLength) {
        return Fail(kTooLong, "Expression too long: " + std::to_string(text.size()) + " characters (limit " +
                                  std::to_string(kMaxExpressionLength) + ")");
    }
    Parser parser(text, params, out);
    if (parser.Run()) return true;
    out.Clear();
    return false;
}

}  // namespace kalvex
