// Runs compiled code on a value stack.
#pragma once

#include <string>
#include <vector>

#include "Code.h"
#include "Value.h"

namespace kalvex {

constexpr int kMaxCallDepth = 100;  // nested calls of user functions and formulas

// The work one operation of the library may do, in steps: one step is an
// instruction run (a few nanoseconds). It bounds the time of any statement
// to a few seconds, whatever its text asks for.
constexpr double kMaxWork = 1e9;
// Steps counted for starting an evaluation (a call of a user function, a
// sample of an integral) besides its instructions.
constexpr double kRunSteps = 32;
// Steps counted for one product of exact polynomial coefficients.
constexpr double kRationalStep = 2000;

class Evaluator {
public:
    // Evaluates code with the given parameter values. Returns false with the
    // error raised on failure. A matrix result stays valid until Reset().
    bool Run(const Code& code, const Value* params, Value& out);

    // Drops the matrices of earlier evaluations.
    void Reset() { mats_.clear(); }

    // Starts an operation of the library: no matrices, no work done yet.
    void StartOperation() {
        Reset();
        work_ = 0;
    }

    // Counts steps of work; past kMaxWork in one operation it raises the
    // error that names the limit (at position pos of the text).
    bool Spend(double steps, int pos) {
        work_ += steps;
        return work_ <= kMaxWork || WorkLimit(pos);
    }

    const Matrix& MatrixOf(const Value& v) const { return mats_[static_cast<std::size_t>(v.mat)]; }
    Value Hold(Matrix m);

    // "a number" or "a 2 x 3 matrix", for messages.
    std::string Shape(const Value& v) const;

    // The steps of Run that look beyond the code, for other walkers of code:
    // a built-in call (out may alias args[0]), a user function call, and the
    // value of a name.
    bool CallBuiltin(const Instr& in, Value* args, Value& out);
    bool CallUser(const Code& code, const Instr& in, const Value* args, Value& out);
    bool NameValue(const Code& code, const Instr& in, Value& out);

private:
    bool WorkLimit(int pos);
    bool Nested(const Code& code, const Value* params, const std::string& name, int pos, Value& out);

    std::vector<Value> stack_;
    std::size_t top_ = 0;
    std::vector<Matrix> mats_;
    std::vector<double> scratch_;
    int callDepth_ = 0;
    double work_ = 0;
};

// Error helpers shared by the evaluator and the matrix routines.
bool OutOfRange(const char* what, int pos);
// a^b with the domain checks of the language.
bool NumberPower(double a, double b, int pos, double& r);

}  // namespace kalvex
