// Matrix arithmetic and the matrix functions of the language (Eigen).
#pragma once

#include "Builtins.h"
#include "Code.h"
#include "Evaluator.h"
#include "Value.h"

namespace kalvex {

// Steps of work counted for one multiply-add of matrix arithmetic (Eigen's
// loops are much faster than the evaluator's instructions).
constexpr double kFlopStep = 0.25;
// Steps counted per element of every matrix the evaluator holds during one
// operation: it bounds the memory of an operation to about 500 MB.
constexpr double kHeldStep = 16;

bool MatrixNegate(Evaluator& ev, Value& v, int pos);
// l op r where at least one side is a matrix; the result replaces l.
bool MatrixArithmetic(Evaluator& ev, Op op, int pos, Value& l, const Value& r);
// det, inv, trn, trace, solve, dot, cross, norm. out may alias args[0].
bool MatrixFunction(Evaluator& ev, const Builtin& b, int pos, const Value* args, int argc, Value& out);

}  // namespace kalvex
