#include "Evaluator.h"

#include <cmath>
#include <cstdio>

#include "Builtins.h"
#include "Errors.h"
#include "MatrixOps.h"
#include "Store.h"

namespace kalvex {

bool OutOfRange(const char* what, int pos) {
    return Fail(kOutOfRange, std::string("Number out of range: the result of ") + what + Where(pos) +
                                 " is too large or undefined");
}

namespace {

const char* OpText(Op op) {
    switch (op) {
        case Op::Add: return "'+'";
        case Op::Sub: return "'-'";
        case Op::Mul: return "'*'";
        case Op::Div: return "'/'";
        case Op::Pow: return "'^'";
        case Op::Neg: return "'-'";
        default: return "a comparison";
    }
}

inline bool Finite(double v, const Instr& in) { return std::isfinite(v) || OutOfRange(OpText(in.op), in.pos); }

}  // namespace

bool NumberPower(double a, double b, int pos, double& r) {
    if (a < 0 && std::floor(b) != b) {
        return Fail(kDomain, "Domain error: negative number to a non-integer power" + Where(pos));
    }
    if (a == 0 && b < 0) return Fail(kDivisionByZero, "Division by zero: 0 to a negative power" + Where(pos));
    r = std::pow(a, b);
    return std::isfinite(r) || OutOfRange("'^'", pos);
}

namespace {

// The stack region of one evaluation; nested evaluations go above it.
struct Frame {
    std::size_t& top;
    std::size_t saved;
    ~Frame() { top = saved; }
};

}  // namespace

Value Evaluator::Hold(Matrix m) {
    mats_.push_back(std::move(m));
    Value v;
    v.mat = static_cast<std::int32_t>(mats_.size() - 1);
    return v;
}

std::string Evaluator::Shape(const Value& v) const {
    if (v.IsNumber()) return "a number";
    const Matrix& m = MatrixOf(v);
    return "a " + std::to_string(m.rows()) + " x " + std::to_string(m.cols()) + " matrix";
}

bool Evaluator::WorkLimit(int pos) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%.0f", kMaxWork);
    return Fail(kWorkLimit, std::string("Work limit exceeded: the operation needs more than ") + limit +
                                " steps" + (pos > 0 ? Where(pos) : std::string()));
}

bool Evaluator::Nested(const Code& code, const Value* params, const std::string& name, int pos, Value& out) {
    if (callDepth_ >= kMaxCallDepth) {
        return Fail(kRecursion, "Recursion too deep: calls of '" + name + "' nested more than " +
                                    std::to_string(kMaxCallDepth) + " levels" + Where(pos));
    }
    ++callDepth_;
    const bool ok = Run(code, params, out);
    --callDepth_;
    return ok;
}

bool Evaluator::NameValue(const Code& code, const Instr& in, Value& out) {
    const std::string& name = code.names[static_cast<std::size_t>(in.a)];
    const Store& store = TheStore();
    if (const double* v = store.FindVariable(name)) {
        out.num = *v;
        out.mat = -1;
        return true;
    }
    if (const FunctionDef* f = store.FindFunction(name)) {
        if (!f->params.empty()) {
            return Fail(kArgumentCount, "Wrong number of arguments: function '" + name + "' takes " +
                                            std::to_string(f->params.size()) + ", got none" + Where(in.pos));
        }
        return Nested(f->code, nullptr, name, in.pos, out);
    }
    return Fail(kUnknownName, "Unknown name '" + name + "'" + Where(in.pos));
}

bool Evaluator::CallUser(const Code& code, const Instr& in, const Value* args, Value& out) {
    const std::string& name = code.names[static_cast<std::size_t>(in.a)];
    const FunctionDef* f = TheStore().FindFunction(name);
    if (!f) return Fail(kUnknownName, "Unknown function '" + name + "'" + Where(in.pos));
    if (f->params.size() != in.argc) {
        return Fail(kArgumentCount, "Wrong number of arguments: " + name + " takes " +
                                        std::to_string(f->params.size()) + ", got " + std::to_string(in.argc) +
                                        Where(in.pos));
    }
    // The arguments are copied: the nested evaluation may grow the stack.
    const std::vector<Value> params(args, args + in.argc);
    return Nested(f->code, params.data(), name, in.pos, out);
}

bool Evaluator::CallBuiltin(const Instr& in, Value* args, Value& out) {
    const Builtin& b = BuiltinAt(in.a);
    if (b.matrixFn != MatrixFn::None) return MatrixFunction(*this, b, in.pos, args, in.argc, out);
    for (int i = 0; i < in.argc; ++i) {
        if (!args[i].IsNumber()) {
            return Fail(kShape, std::string(b.name) + " needs numbers, got " + Shape(args[i]) + Where(in.pos));
        }
    }
    double r;
    Rejection why;
    if (b.unary) {
        r = b.unary(args[0].num, why);
    } else {
        scratch_.resize(in.argc);
        for (int i = 0; i < in.argc; ++i) scratch_[static_cast<std::size_t>(i)] = args[i].num;
        r = b.nary(scratch_.data(), in.argc, why);
    }
    if (!std::isfinite(r)) {
        if (why.code != 0) return Fail(why.code, std::string(ErrorTitle(why.code)) + ": " + why.what + Where(in.pos));
        return OutOfRange(b.name, in.pos);
    }
    out.num = r;
    out.mat = -1;
    return true;
}

bool Evaluator::Run(const Code& code, const Value* params, Value& out) {
    if (!Spend(kRunSteps + static_cast<double>(code.instrs.size()), 0)) return false;
    const std::size_t baseIndex = top_;
    const std::size_t need = baseIndex + code.MaxStack() + 1;
    if (stack_.size() < need) stack_.resize(need);
    Frame frame{top_, baseIndex};
    top_ = need;
    Value* sp = stack_.data() + baseIndex;
    // After a nested evaluation the stack may have moved.
    const auto reseat = [&](std::ptrdiff_t depth) { sp = stack_.data() + baseIndex + depth; };
    // The two top values are replaced by the result of op: number(l, r) for
    // two numbers, the matrix routine otherwise.
    const auto binary = [&](const Instr& in, auto number) {
        --sp;
        if ((sp[-1].mat & sp[0].mat) >= 0) return MatrixArithmetic(*this, in.op, in.pos, sp[-1], sp[0]);
        return number(sp[-1].num, sp[0].num);
    };

    for (const Instr& in : code.instrs) {
        switch (in.op) {
            case Op::Num:
                sp->num = in.num;
                sp->mat = -1;
                ++sp;
                break;
            case Op::Param:
                *sp++ = params[in.a];
                break;
            case Op::Name:
            case Op::Mat: {
                const std::ptrdiff_t depth = sp - (stack_.data() + baseIndex);
                Value v;
                if (in.op == Op::Name) {
                    if (!NameValue(code, in, v)) return false;
                } else {
                    const std::string& name = code.names[static_cast<std::size_t>(in.a)];
                    const Matrix* m = TheStore().FindMatrix(name);
                    if (!m) return Fail(kUnknownMatrix, "Unknown matrix '[" + name + "]'" + Where(in.pos));
                    if (!Spend(static_cast<double>(m->size()) * kHeldStep, in.pos)) return false;
                    v = Hold(*m);
                }
                reseat(depth);
                *sp++ = v;
                break;
            }
            case Op::Neg:
                if (sp[-1].IsNumber()) {
                    sp[-1].num = -sp[-1].num;
                } else if (!MatrixNegate(*this, sp[-1], in.pos)) {
                    return false;
                }
                break;
            case Op::Add:
                if (!binary(in, [&](double& l, double r) { l += r; return Finite(l, in); })) return false;
                break;
            case Op::Sub:
                if (!binary(in, [&](double& l, double r) { l -= r; return Finite(l, in); })) return false;
                break;
            case Op::Mul:
                if (!binary(in, [&](double& l, double r) { l *= r; return Finite(l, in); })) return false;
                break;
            case Op::Div:
                if (!binary(in, [&](double& l, double r) {
                        if (r == 0) return Fail(kDivisionByZero, "Division by zero" + Where(in.pos));
                        l /= r;
                        return Finite(l, in);
                    })) {
                    return false;
                }
                break;
            case Op::Pow:
                if (!binary(in, [&](double& l, double r) { return NumberPower(l, r, in.pos, l); })) return false;
                break;
            case Op::Lt:
            case Op::Le:
            case Op::Gt:
            case Op::Ge:
            case Op::Eq:
            case Op::Ne: {
                --sp;
                Value& l = sp[-1];
                const Value r = sp[0];
                if (!l.IsNumber() || !r.IsNumber()) {
                    return Fail(kShape, "A comparison needs numbers, got " + Shape(l) + " and " + Shape(r) +
                                            Where(in.pos));
                }
                bool b;
                switch (in.op) {
                    case Op::Lt: b = l.num < r.num; break;
                    case Op::Le: b = l.num <= r.num; break;
                    case Op::Gt: b = l.num > r.num; break;
                    case Op::Ge: b = l.num >= r.num; break;
                    case Op::Eq: b = l.num == r.num; break;
                    default: b = l.num != r.num; break;
                }
                l.num = b ? 1.0 : 0.0;
                break;
            }
            case Op::Call1: {
                if (sp[-1].IsNumber()) {
                    Rejection why;
                    const double r = in.fn(sp[-1].num, why);
                    if (std::isfinite(r)) {
                        sp[-1].num = r;
                        break;
                    }
                }
                // The checks and the error message of the general call.
                if (!CallBuiltin(in, sp - 1, sp[-1])) return false;
                break;
            }
            case Op::Call: {
                sp -= in.argc;
                if (!CallBuiltin(in, sp, *sp)) return false;
                ++sp;
                break;
            }
            case Op::UserCall: {
                sp -= in.argc;
                const std::ptrdiff_t depth = sp - (stack_.data() + baseIndex);
                Value v;
                if (!CallUser(code, in, sp, v)) return false;
                reseat(depth);
                *sp++ = v;
                break;
            }
        }
    }
    out = stack_[baseIndex];
    return true;
}

}  // namespace kalvex
