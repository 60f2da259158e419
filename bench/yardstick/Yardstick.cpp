// The yardstick of the statement benchmark: a tight program that reads an
// arithmetic script of "expr = ..." lines and writes the same result blocks as
// tessara /dec:10, with the evaluation done either by a small
// precedence-climbing evaluator ("tight") or by muparser ("muparser").
//
//   yardstick tight|muparser input output
//
// It knows numbers, + - * / ^ (right associative, above a leading sign) and
// parentheses: exactly what the benchmark's scripts hold.
#include <muParser.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

class TightEvaluator {
public:
    explicit TightEvaluator(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool Run(double& value) {
        value = Expression(0);
        Skip();
        return ok_ && p_ == end_;
    }

private:
    static int Precedence(char op) {
        switch (op) {
            case '+': case '-': return 1;
            case '*': case '/': return 2;
            default: return 0;
        }
    }

    void Skip() {
        while (p_ < end_ && *p_ == ' ') ++p_;
    }

    double Expression(int minPrecedence) {
        double left = Unary();
        for (;;) {
            Skip();
            if (p_ == end_) return left;
            const char op = *p_;
            const int precedence = Precedence(op);
            if (precedence == 0 || precedence < minPrecedence) return left;
            ++p_;
            const double right = Expression(precedence + 1);
            switch (op) {
                case '+': left += right; break;
                case '-': left -= right; break;
                case '*': left *= right; break;
                default: left /= right; break;
            }
        }
    }

    double Unary() {
        Skip();
        if (p_ < end_ && *p_ == '-') {
            ++p_;
            return -Unary();
        }
        return Power();
    }

    double Power() {
        const double base = Primary();
        Skip();
        if (p_ < end_ && *p_ == '^') {
            ++p_;
            return std::pow(base, Unary());
        }
        return base;
    }

    double Primary() {
        Skip();
        if (p_ < end_ && *p_ == '(') {
            ++p_;
            const double v = Expression(0);
            Skip();
            if (p_ < end_ && *p_ == ')') ++p_;
            else ok_ = false;
            return v;
        }
        double v = 0;
        const auto res = std::from_chars(p_, end_, v);
        if (res.ec != std::errc()) ok_ = false;
        p_ = res.ptr;
        return v;
    }

    const char* p_;
    const char* end_;
    bool ok_ = true;
};

bool TightValue(std::string_view text, double& value) { return TightEvaluator(text).Run(value); }

bool MuparserValue(std::string_view text, double& value) {
    static mu::Parser parser;
    try {
        parser.SetExpr(std::string(text));
        value = parser.Eval();
        return std::isfinite(value);
    } catch (const mu::Parser::exception_type&) {
        return false;
    }
}

// The whole file in one read into a buffer of its size.
std::string ReadAll(const char* path) {
    std::string text;
    FILE* f = std::fopen(path, "rb");
    if (!f) return text;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        std::rewind(f);
        if (size > 0) {
            text.resize(static_cast<std::size_t>(size));
            text.resize(std::fread(text.data(), 1, text.size(), f));
        }
    }
    std::fclose(f);
    return text;
}

void AppendBlock(std::string& out, long lineNumber, std::string_view expression, bool ok, double value) {
    char number[400];  // the longest fixed text of a double with ten decimals
    out += "Ln ";
    out.append(number, std::to_chars(number, number + sizeof number, lineNumber).ptr);
    out += ": Expression = ";
    out += expression;
    out += ":                     \r\n";
    if (!ok) {
        out += "       Result => error\r\n\r\n";
        return;
    }
    out += "       Result => Number = ";
    out.append(number, std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 10).ptr);
    out += "\r\n\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: yardstick tight|muparser input output\n");
        return 2;
    }
    const bool tight = std::strcmp(argv[1], "tight") == 0;
    const std::string script = ReadAll(argv[2]);
    FILE* f = std::fopen(argv[3], "wb");
    if (!f) return 1;
    // The blocks go out in pieces of about 1 MB, so the output never has to be
    // held whole.
    constexpr std::size_t kFlushSize = 1 << 20;
    std::string out;
    out.reserve(kFlushSize + 4096);
    bool written = true;
    std::string_view rest = script;
    for (long lineNumber = 1; !rest.empty(); ++lineNumber) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view expression = line.substr(equals + 1);
        while (!expression.empty() && expression.front() == ' ') expression.remove_prefix(1);
        while (!expression.empty() && expression.back() == ' ') expression.remove_suffix(1);
        double value = 0;
        const bool ok = tight ? TightValue(expression, value) : MuparserValue(expression, value);
        AppendBlock(out, lineNumber, expression, ok, value);
        if (out.size() >= kFlushSize) {
            written = written && std::fwrite(out.data(), 1, out.size(), f) == out.size();
            out.clear();
        }
    }
    written = written && std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && written ? 0 : 1;
}
