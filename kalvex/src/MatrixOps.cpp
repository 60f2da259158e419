#include "MatrixOps.h"

#include <cmath>
#include <limits>
#include <string>

#include "Errors.h"

namespace kalvex {

namespace {

std::string Size(const Matrix& m) { return std::to_string(m.rows()) + " x " + std::to_string(m.cols()); }

bool ShapeError(const std::string& what, int pos) { return Fail(kShape, what + Where(pos)); }

bool Mismatch(const char* op, const Matrix& a, const Matrix& b, int pos) {
    return ShapeError(std::string("Matrix sizes do not match for ") + op + ": " + Size(a) + " and " + Size(b), pos);
}

// Stores a computed matrix as the value v after checking it is finite.
bool Keep(Evaluator& ev, Matrix m, const char* what, int pos, Value& v) {
    if (!m.allFinite()) return OutOfRange(what, pos);
    if (!ev.Spend(static_cast<double>(m.size()) * kHeldStep, pos)) return false;
    v = ev.Hold(std::move(m));
    return true;
}

bool KeepNumber(double x, const char* what, int pos, Value& v) {
    if (!std::isfinite(x)) return OutOfRange(what, pos);
    v.num = x;
    v.mat = -1;
    return true;
}

// Counts the work of an operation of about flops multiply-adds.
bool Cost(Evaluator& ev, double flops, int pos) { return ev.Spend(flops * kFlopStep, pos); }

double Cube(const Matrix& m) { return static_cast<double>(m.rows()) * static_cast<double>(m.rows()) * static_cast<double>(m.rows()); }

double ProductCost(const Matrix& a, const Matrix& b) {
    return static_cast<double>(a.rows()) * static_cast<double>(a.cols()) * static_cast<double>(b.cols());
}

bool NeedSquare(const Matrix& m, const char* what, int pos) {
    if (m.rows() == m.cols()) return true;
    return ShapeError(std::string(what) + " needs a square matrix, got a " + Size(m) + " matrix", pos);
}

bool Inverse(Evaluator& ev, const Matrix& m, int pos, Matrix& out) {
    if (!NeedSquare(m, "inv", pos) || !Cost(ev, Cube(m), pos)) return false;
    const Eigen::FullPivLU<Matrix> lu(m);
    if (!lu.isInvertible()) return Fail(kSingular, "Singular matrix: the inverse does not exist" + Where(pos));
    out = lu.inverse();
    return true;
}

bool IsVector(const Matrix& m) { return m.rows() == 1 || m.cols() == 1; }

bool MatrixPower(Evaluator& ev, const Matrix& m, double e, int pos, Matrix& out) {
    if (!NeedSquare(m, "'^'", pos)) return false;
    if (std::floor(e) != e || std::fabs(e) > std::numeric_limits<int>::max()) {
        return Fail(kDomain, "Domain error: a matrix power needs an integer exponent" + Where(pos));
    }
    Matrix base = m;
    if (e < 0 && !Inverse(ev, m, pos, base)) return false;
    auto n = static_cast<long long>(std::fabs(e));
    out = Matrix::Identity(m.rows(), m.cols());
    while (n > 0) {
        if (!Cost(ev, 2 * Cube(m), pos)) return false;
        if (n & 1) out = out * base;
        n >>= 1;
        if (n > 0) base = base * base;
        if (!base.allFinite()) return OutOfRange("'^'", pos);
    }
    return true;
}

// Determinant with the singularity test of a rank-revealing LU: a matrix that
// is singular to working precision has determinant 0.
double Determinant(const Matrix& m) {
    const Eigen::FullPivLU<Matrix> lu(m);
    return lu.isInvertible() ? lu.determinant() : 0.0;
}

}  // namespace

bool MatrixNegate(Evaluator& ev, Value& v, int pos) { return Keep(ev, -ev.MatrixOf(v), "'-'", pos, v); }

bool MatrixArithmetic(Evaluator& ev, Op op, int pos, Value& l, const Value& r) {
    Matrix res;
    const char* opText = "'*'";
    if (l.IsNumber() || r.IsNumber()) {
        const double k = l.IsNumber() ? l.num : r.num;
        const Matrix& m = ev.MatrixOf(l.IsNumber() ? r : l);
        if (!Cost(ev, static_cast<double>(m.size()), pos)) return false;
        switch (op) {
            case Op::Mul:
                res = m * k;
                break;
            case Op::Div:
                if (!r.IsNumber()) {
                    return ShapeError("Cannot divide a number by a " + Size(m) + " matrix (use inv)", pos);
                }
                if (k == 0) return Fail(kDivisionByZero, "Division by zero" + Where(pos));
                res = m / k;
                opText = "'/'";
                break;
            case Op::Pow:
                if (!r.IsNumber()) return ShapeError("The exponent of '^' must be a number, got a " + Size(m) + " matrix", pos);
                if (!MatrixPower(ev, m, k, pos, res)) return false;
                opText = "'^'";
                break;
            default:
                return ShapeError(std::string("Cannot ") + (op == Op::Add ? "add" : "subtract") + " " +
                                      ev.Shape(l) + " and " + ev.Shape(r),
                                  pos);
        }
        return Keep(ev, std::move(res), opText, pos, l);
    }
    const Matrix& a = ev.MatrixOf(l);
    const Matrix& b = ev.MatrixOf(r);
    if (!Cost(ev, op == Op::Mul ? ProductCost(a, b) : static_cast<double>(a.size()), pos)) return false;
    switch (op) {
        case Op::Add:
        case Op::Sub:
            if (a.rows() != b.rows() || a.cols() != b.cols()) return Mismatch(op == Op::Add ? "'+'" : "'-'", a, b, pos);
            res = op == Op::Add ? Matrix(a + b) : Matrix(a - b);
            opText = op == Op::Add ? "'+'" : "'-'";
            break;
        case Op::Mul:
            if (a.cols() != b.rows()) return Mismatch("'*'", a, b, pos);
            res = a * b;
            break;
        case Op::Div:
            return ShapeError("Cannot divide a " + Size(a) + " matrix by a " + Size(b) + " matrix (use inv)", pos);
        default:
            return ShapeError("The exponent of '^' must be a number, got a " + Size(b) + " matrix", pos);
    }
    return Keep(ev, std::move(res), opText, pos, l);
}

bool MatrixFunction(Evaluator& ev, const Builtin& b, int pos, const Value* args, int argc, Value& out) {
    for (int i = 0; i < argc; ++i) {
        if (args[i].IsNumber()) {
            return ShapeError(std::string(b.name) + " needs a matrix or vector, got a number", pos);
        }
    }
    const Matrix& m = ev.MatrixOf(args[0]);
    const bool decomposes = b.matrixFn == MatrixFn::Det || b.matrixFn == MatrixFn::Inv || b.matrixFn == MatrixFn::Solve;
    if (!Cost(ev, decomposes ? std::max(Cube(m), static_cast<double>(m.size())) : static_cast<double>(m.size()), pos)) {
        return false;
    }
    switch (b.matrixFn) {
        case MatrixFn::Det:
            if (!NeedSquare(m, b.name, pos)) return false;
            return KeepNumber(Determinant(m), b.name, pos, out);
        case MatrixFn::Inv: {
            Matrix r;
            if (!Inverse(ev, m, pos, r)) return false;
            return Keep(ev, std::move(r), b.name, pos, out);
        }
        case MatrixFn::Trn:
            return Keep(ev, Matrix(m.transpose()), b.name, pos, out);
        case MatrixFn::Trace:
            if (!NeedSquare(m, b.name, pos)) return false;
            return KeepNumber(m.trace(), b.name, pos, out);
        case MatrixFn::Norm:
            return KeepNumber(m.norm(), b.name, pos, out);
        case MatrixFn::Solve: {
            const Matrix& rhs = ev.MatrixOf(args[1]);
            if (!NeedSquare(m, b.name, pos)) return false;
            if (rhs.rows() != m.rows()) return Mismatch("solve", m, rhs, pos);
            const Eigen::FullPivLU<Matrix> lu(m);
            if (!lu.isInvertible()) {
                return Fail(kSingular, "Singular matrix: the system has no unique solution" + Where(pos));
            }
            return Keep(ev, Matrix(lu.solve(rhs)), b.name, pos, out);
        }
        case MatrixFn::Dot:
        case MatrixFn::Cross: {
            const Matrix& v = ev.MatrixOf(args[1]);
            if (!IsVector(m) || !IsVector(v) || m.size() != v.size()) return Mismatch(b.name, m, v, pos);
            const auto x = m.reshaped();
            const auto y = v.reshaped();
            if (b.matrixFn == MatrixFn::Dot) return KeepNumber(x.dot(y), b.name, pos, out);
            if (m.size() != 3) return ShapeError("cross needs two vectors of 3 elements, got " + Size(m) + " and " + Size(v), pos);
            const Eigen::Vector3d c = Eigen::Vector3d(x(0), x(1), x(2)).cross(Eigen::Vector3d(y(0), y(1), y(2)));
            Matrix r(m.rows(), m.cols());
            r.reshaped() = c;
            return Keep(ev, std::move(r), b.name, pos, out);
        }
        case MatrixFn::None:
            break;
    }
    return false;
}

}  // namespace kalvex
