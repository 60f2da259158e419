#include "Polynomial.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Builtins.h"
#include "Engine.h"
#include "Errors.h"
#include "OneVariable.h"

namespace kalvex {

namespace {

void Normalize(Poly& p) {
    while (p.size() > 1 && p.back() == 0.0) p.pop_back();
    if (p.empty()) p.push_back(0.0);
}

int Degree(const Poly& p) { return static_cast<int>(p.size()) - 1; }

bool IsConstant(const Poly& p) { return p.size() == 1; }

bool NotPolynomial(const std::string& what, int pos) {
    return Fail(kNotPolynomial, "Not a polynomial: " + what + Where(pos));
}

bool DegreeCheck(int degree, int pos) {
    if (degree <= kMaxDegree) return true;
    return Fail(kNotPolynomial, "Not a polynomial: degree above " + std::to_string(kMaxDegree) + Where(pos));
}

Poly Multiply(const Poly& a, const Poly& b) {
    Poly r(a.size() + b.size() - 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) r[i + j] += a[i] * b[j];
    }
    Normalize(r);
    return r;
}

Poly AddScaled(const Poly& a, const Poly& b, double k) {
    Poly r(std::max(a.size(), b.size()), 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) r[i] = a[i];
    for (std::size_t i = 0; i < b.size(); ++i) r[i] += k * b[i];
    Normalize(r);
    return r;
}

bool PowerOf(const Poly& base, const Poly& exponent, int pos, Poly& out) {
    if (!IsConstant(exponent)) return NotPolynomial("the exponent contains the variable", pos);
    const double e = exponent[0];
    if (IsConstant(base)) {
        out.assign(1, 0.0);
        return NumberPower(base[0], e, pos, out[0]);
    }
    if (e < 0 || std::floor(e) != e) {
        return NotPolynomial("the variable to a power that is not a non-negative integer", pos);
    }
    if (!DegreeCheck(static_cast<int>(std::min(e * Degree(base), 1e9)), pos)) return false;
    out.assign(1, 1.0);
    for (int i = 0; i < static_cast<int>(e); ++i) out = Multiply(out, base);
    return true;
}

// Evaluates a call or name whose arguments are all constants.
bool ConstantStep(Evaluator& ev, const Code& code, const Instr& in, const std::vector<Poly>& args, Poly& out) {
    std::vector<Value> values(std::max<std::size_t>(args.size(), 1));
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!IsConstant(args[i])) {
            const std::string name = in.op == Op::Call || in.op == Op::Call1
                                         ? std::string(BuiltinAt(in.a).name)
                                         : code.names[static_cast<std::size_t>(in.a)];
            return NotPolynomial("the variable inside " + name + "()", in.pos);
        }
        values[i].num = args[i][0];
    }
    Value v;
    bool ok;
    if (in.op == Op::Call || in.op == Op::Call1) ok = ev.CallBuiltin(in, values.data(), v);
    else if (in.op == Op::UserCall) ok = ev.CallUser(code, in, values.data(), v);
    else ok = ev.NameValue(code, in, v);
    if (!ok) return false;
    if (!v.IsNumber()) return NotPolynomial("a matrix value", in.pos);
    out.assign(1, v.num);
    return true;
}

bool Expand(const Code& code, Poly& result) {
    Evaluator& ev = TheEvaluator();
    std::vector<Poly> st;
    for (const Instr& in : code.instrs) {
        switch (in.op) {
            case Op::Num: st.push_back(Poly{in.num}); break;
            case Op::Param: st.push_back(Poly{0.0, 1.0}); break;
            case Op::Mat: return NotPolynomial("matrix [" + code.names[static_cast<std::size_t>(in.a)] + "]", in.pos);
            case Op::Neg:
                for (double& c : st.back()) c = -c;
                break;
            case Op::Name:
            case Op::Call:
            case Op::Call1:
            case Op::UserCall: {
                const std::size_t argc = in.op == Op::Name ? 0 : in.argc;
                std::vector<Poly> args(st.end() - static_cast<std::ptrdiff_t>(argc), st.end());
                st.resize(st.size() - argc);
                Poly v;
                const bool ok = ConstantStep(ev, code, in, args, v);
                ev.Reset();
                if (!ok) return false;
                st.push_back(std::move(v));
                break;
            }
            case Op::Add:
            case Op::Sub:
            case Op::Mul:
            case Op::Div:
            case Op::Pow: {
                const Poly r = std::move(st.back());
                st.pop_back();
                Poly& l = st.back();
                if (in.op == Op::Add || in.op == Op::Sub) {
                    l = AddScaled(l, r, in.op == Op::Add ? 1.0 : -1.0);
                } else if (in.op == Op::Mul) {
                    if (!DegreeCheck(Degree(l) + Degree(r), in.pos)) return false;
                    l = Multiply(l, r);
                } else if (in.op == Op::Div) {
                    if (!IsConstant(r)) return NotPolynomial("division by an expression in the variable", in.pos);
                    if (r[0] == 0.0) return Fail(kDivisionByZero, "Division by zero" + Where(in.pos));
                    for (double& c : l) c /= r[0];
                } else {
                    Poly p;
                    if (!PowerOf(l, r, in.pos, p)) return false;
                    l = std::move(p);
                }
                break;
            }
            default:
                return NotPolynomial("a comparison", in.pos);
        }
    }
    result = std::move(st.back());
    Normalize(result);
    if (!std::all_of(result.begin(), result.end(), [](double c) { return std::isfinite(c); })) {
        return Fail(kOutOfRange, "Number out of range: a coefficient of the polynomial is too large");
    }
    return true;
}

}  // namespace

bool ExpandPolynomial(std::string_view text, std::string_view var, Poly& c, std::string& chosen) {
    Code code;
    return CompileInOneVariable(text, var, "polynomial", code, chosen) && Expand(code, c);
}

Poly Derivative(const Poly& c) {
    Poly d;
    for (std::size_t k = 1; k < c.size(); ++k) d.push_back(static_cast<double>(k) * c[k]);
    Normalize(d);
    return d;
}

std::string PolynomialText(const Poly& c, const std::string& var) {
    std::string out;
    // A name beginning with "e" could read as an exponent after a number.
    const std::string times = !var.empty() && (var[0] == 'e' || var[0] == 'E') ? "*" : "";
    for (int k = Degree(c); k >= 0; --k) {
        const double v = c[static_cast<std::size_t>(k)];
        if (v == 0.0 && !(k == 0 && out.empty())) continue;
        if (out.empty()) out += v < 0 ? "-" : "";
        else out += v < 0 ? " - " : " + ";
        const double m = std::fabs(v);
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", m);
        if (k == 0) {
            out += buf;
            continue;
        }
        if (m != 1.0) out.append(buf).append(times);
        out += var;
        if (k > 1) out.append("^").append(std::to_string(k));
    }
    return out;
}

}  // namespace kalvex
