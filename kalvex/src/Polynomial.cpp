#include "Polynomial.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Builtins.h"
#include "Engine.h"
#include "Errors.h"
#include "OneVariable.h"
#include "TextUtil.h"

namespace kalvex {

namespace {

using boost::multiprecision::cpp_int;

// Numbers written with more significant digits than this are taken at the
// value of their double: no double tells them apart anyway, and their exact
// value could be huge.
constexpr std::size_t kMaxExactDigits = 1000;

bool IsConstant(const ExactPoly& p) { return p.size() == 1; }

bool NotPolynomial(const std::string& what, int pos) {
    return Fail(kNotPolynomial, "Not a polynomial: " + what + Where(pos));
}

bool DegreeCheck(int degree, int pos) {
    if (degree <= kMaxDegree) return true;
    return Fail(kNotPolynomial, "Not a polynomial: degree above " + std::to_string(kMaxDegree) + Where(pos));
}

// The exact value of a finite double.
Rational ExactValue(double v) {
    int exponent = 0;
    const double mantissa = std::frexp(v, &exponent);
    // 53 bits of mantissa make an integer; the rest is a power of two.
    Rational r(static_cast<long long>(std::ldexp(mantissa, 53)));
    exponent -= 53;
    const Rational scale(cpp_int(1) << std::abs(exponent));
    return exponent >= 0 ? r * scale : r / scale;
}

// The exact decimal value of the number written at the start of text (digits,
// point, exponent), or the exact value of its double when it is written
// otherwise (a constant such as pi) or with very many digits.
Rational NumberAt(std::string_view text, double asDouble) {
    if (asDouble == 0.0) return Rational(0);
    cpp_int mantissa = 0;
    long scale = 0;
    std::size_t i = 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (IsDigit(c)) {
            if (digits > 0 || c != '0') ++digits;
            if (digits > kMaxExactDigits) return ExactValue(asDouble);
            mantissa = mantissa * 10 + (c - '0');
            if (point) --scale;
        } else {
            break;
        }
    }
    if (i == 0 || (i == 1 && point)) return ExactValue(asDouble);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        long exponent = 0;
        const char* first = text.data() + i + 1;
        if (first < text.data() + text.size() && *first == '+') ++first;
        const auto [end, ec] = std::from_chars(first, text.data() + text.size(), exponent);
        if (ec != std::errc() || end == first) return ExactValue(asDouble);
        scale += exponent;
    }
    // The double is finite and non-zero, so the scale stays within a few
    // hundred plus the digits counted above.
    const Rational power(boost::multiprecision::pow(cpp_int(10), static_cast<unsigned>(std::labs(scale))));
    return scale >= 0 ? Rational(mantissa) * power : Rational(mantissa) / power;
}

// The size of the largest coefficient in 64-bit words: a product of two
// coefficients, reduced to lowest terms, costs more the longer they are.
double Words(const ExactPoly& p) {
    std::size_t bits = 0;
    for (const Rational& c : p) {
        if (c != 0) bits = std::max<std::size_t>(bits, msb(abs(numerator(c))) + msb(denominator(c)));
    }
    return 1.0 + static_cast<double>(bits / 64);
}

class Expander {
public:
    Expander(std::string_view text, Evaluator& ev) : text_(text), ev_(ev) {}

    bool Run(const Code& code, ExactPoly& result) {
        for (const Instr& in : code.instrs) {
            if (!Step(code, in)) return false;
        }
        result = std::move(st_.back());
        Normalize(result);
        return true;
    }

private:
    bool Step(const Code& code, const Instr& in) {
        switch (in.op) {
            case Op::Num: {
                const std::size_t at = static_cast<std::size_t>(in.pos) - 1;
                st_.push_back(ExactPoly{NumberAt(at < text_.size() ? text_.substr(at) : "", in.num)});
                return true;
            }
            case Op::Param: st_.push_back(ExactPoly{Rational(0), Rational(1)}); return true;
            case Op::Mat:
                return NotPolynomial("matrix [" + code.names[static_cast<std::size_t>(in.a)] + "]", in.pos);
            case Op::Neg:
                for (Rational& c : st_.back()) c = -c;
                return true;
            case Op::Name:
            case Op::Call:
            case Op::Call1:
            case Op::UserCall: return Constant(code, in);
            case Op::Add:
            case Op::Sub:
            case Op::Mul:
            case Op::Div:
            case Op::Pow: return Binary(in);
            default: return NotPolynomial("a comparison", in.pos);
        }
    }

    // A call or name whose arguments are all constants: evaluated in doubles.
    bool Constant(const Code& code, const Instr& in) {
        const std::size_t argc = in.op == Op::Name ? 0 : in.argc;
        std::vector<Value> values(std::max<std::size_t>(argc, 1));
        for (std::size_t i = 0; i < argc; ++i) {
            const ExactPoly& arg = st_[st_.size() - argc + i];
            if (!IsConstant(arg)) {
                const std::string name = in.op == Op::Call || in.op == Op::Call1
                                             ? std::string(BuiltinAt(in.a).name)
                                             : code.names[static_cast<std::size_t>(in.a)];
                return NotPolynomial("the variable inside " + name + "()", in.pos);
            }
            values[i].num = arg[0].convert_to<double>();
        }
        st_.resize(st_.size() - argc);
        Value v;
        bool ok;
        if (in.op == Op::Call || in.op == Op::Call1) ok = ev_.CallBuiltin(in, values.data(), v);
        else if (in.op == Op::UserCall) ok = ev_.CallUser(code, in, values.data(), v);
        else ok = ev_.NameValue(code, in, v);
        ev_.Reset();
        if (!ok) return false;
        if (!v.IsNumber()) return NotPolynomial("a matrix value", in.pos);
        st_.push_back(ExactPoly{ExactValue(v.num)});
        return true;
    }

    bool Binary(const Instr& in) {
        ExactPoly r = std::move(st_.back());
        st_.pop_back();
        ExactPoly& l = st_.back();
        switch (in.op) {
            case Op::Add:
            case Op::Sub:
                if (l.size() < r.size()) l.resize(r.size());
                for (std::size_t i = 0; i < r.size(); ++i) l[i] += in.op == Op::Add ? r[i] : -r[i];
                Normalize(l);
                return true;
            case Op::Mul:
                return DegreeCheck(Degree(l) + Degree(r), in.pos) && Multiply(l, r, in.pos, l);
            case Op::Div:
                if (!IsConstant(r)) return NotPolynomial("division by an expression in the variable", in.pos);
                if (r[0] == 0) return Fail(kDivisionByZero, "Division by zero" + Where(in.pos));
                for (Rational& c : l) c /= r[0];
                return true;
            default:
                return Power(l, r, in.pos);
        }
    }

    // Only products of non-zero coefficients are made (and counted), so that
    // powers of the variable cost next to nothing.
    bool Multiply(const ExactPoly& a, const ExactPoly& b, int pos, ExactPoly& out) {
        const auto nonZero = [](const ExactPoly& p) {
            std::vector<std::size_t> at;
            for (std::size_t k = 0; k < p.size(); ++k) {
                if (p[k] != 0) at.push_back(k);
            }
            return at;
        };
        const std::vector<std::size_t> ia = nonZero(a);
        const std::vector<std::size_t> ib = nonZero(b);
        const double products = static_cast<double>(ia.size()) * static_cast<double>(ib.size());
        if (!ev_.Spend(kRationalStep * products * (Words(a) + Words(b)) / 2, pos)) return false;
        ExactPoly r(a.size() + b.size() - 1);
        for (const std::size_t i : ia) {
            for (const std::size_t j : ib) r[i + j] += a[i] * b[j];
        }
        Normalize(r);
        out = std::move(r);
        return true;
    }

    bool Power(ExactPoly& base, const ExactPoly& exponent, int pos) {
        if (!IsConstant(exponent)) return NotPolynomial("the exponent contains the variable", pos);
        const double e = exponent[0].convert_to<double>();
        if (IsConstant(base)) {
            double asDouble = 0;
            if (!NumberPower(base[0].convert_to<double>(), e, pos, asDouble)) return false;
            // Small whole powers stay exact: (1/3)^2 is 1/9, not the square of 0.333...
            if (std::floor(e) == e && std::fabs(e) <= 64 && exponent[0] == ExactValue(e) && base[0] != 0) {
                const Rational p(boost::multiprecision::pow(numerator(base[0]), static_cast<unsigned>(std::fabs(e))),
                                 boost::multiprecision::pow(denominator(base[0]), static_cast<unsigned>(std::fabs(e))));
                base[0] = e >= 0 ? p : 1 / p;
            } else {
                base[0] = ExactValue(asDouble);
            }
            return true;
        }
        if (e < 0 || std::floor(e) != e) {
            return NotPolynomial("the variable to a power that is not a non-negative integer", pos);
        }
        if (!DegreeCheck(static_cast<int>(std::min(e * Degree(base), 1e9)), pos)) return false;
        // Squaring: about log2(e) products instead of e.
        ExactPoly result{Rational(1)};
        ExactPoly square = std::move(base);
        for (auto n = static_cast<unsigned>(e); n > 0; n >>= 1) {
            if ((n & 1) != 0 && !Multiply(result, square, pos, result)) return false;
            if (n > 1 && !Multiply(square, square, pos, square)) return false;
        }
        base = std::move(result);
        return true;
    }

    std::string_view text_;
    Evaluator& ev_;
    std::vector<ExactPoly> st_;
};

}  // namespace

void Normalize(ExactPoly& p) {
    while (p.size() > 1 && p.back() == 0) p.pop_back();
    if (p.empty()) p.emplace_back(0);
}

int Degree(const ExactPoly& p) { return static_cast<int>(p.size()) - 1; }

bool ExpandPolynomial(std::string_view text, std::string_view var, ExactPoly& c, std::string& chosen) {
    Code code;
    if (!CompileInOneVariable(text, var, "polynomial", code, chosen)) return false;
    Expander expander(text, TheEvaluator());
    return expander.Run(code, c);
}

bool ToDoubles(const ExactPoly& c, const char* what, Poly& out) {
    out.resize(c.size());
    for (std::size_t k = 0; k < c.size(); ++k) {
        out[k] = c[k].convert_to<double>();
        if (!std::isfinite(out[k])) {
            return Fail(kOutOfRange, std::string("Number out of range: a coefficient of ") + what + " is too large");
        }
    }
    return true;
}

ExactPoly Derivative(const ExactPoly& c) {
    ExactPoly d;
    for (std::size_t k = 1; k < c.size(); ++k) d.push_back(c[k] * static_cast<long long>(k));
    Normalize(d);
    return d;
}

std::string PolynomialText(const Poly& c, const std::string& var) {
    std::string out;
    // A name beginning with "e" could read as an exponent after a number.
    const std::string times = !var.empty() && (var[0] == 'e' || var[0] == 'E') ? "*" : "";
    for (int k = static_cast<int>(c.size()) - 1; k >= 0; --k) {
        const double v = c[static_cast<std::size_t>(k)];
        if (v == 0.0 && !(k == 0 && out.empty())) continue;
        if (out.empty()) out += v < 0 ? "-" : "";
        else out += v < 0 ? " - " : " + ";
        const double m = std::fabs(v);
        char buf[40];
        const auto written = std::to_chars(buf, buf + sizeof buf, m);
        const std::string_view number(buf, static_cast<std::size_t>(written.ptr - buf));
        if (k == 0) {
            out += number;
            continue;
        }
        if (m != 1.0) out.append(number).append(times);
        out += var;
        if (k > 1) out.append("^").append(std::to_string(k));
    }
    return out;
}

}  // namespace kalvex
