// The table of built-in functions and constants of the expression language.
#pragma once

#include <string_view>

namespace kalvex {

// Matrix routines among the built-ins; the evaluator hands them to MatrixOps.
enum class MatrixFn { None, Det, Inv, Trn, Trace, Solve, Dot, Cross, Norm };

struct Builtin {
    const char* name;
    const char* args;  // the argument list as shown on the operators screen
    int minArgs;
    int maxArgs;                          // -1: any number
    double (*unary)(double);              // one-argument numeric functions
    double (*nary)(const double*, int);   // the others
    MatrixFn matrixFn;
    const char* help;
};

struct Constant {
    const char* name;
    double value;
    const char* help;
};

// Looks a lower-case name up; -1 when it is no built-in function.
int FindBuiltin(std::string_view lowerName);
const Builtin& BuiltinAt(int index);
int BuiltinCount();

const Constant* FindConstant(std::string_view lowerName);
const Constant* ConstantAt(int index);  // nullptr past the end

// Built-in functions report a failed argument check by returning Reject(...):
// the evaluator sees the NaN and turns the pending rejection into an error
// that names the function and its position.
double Reject(int code, const char* what);
// Takes the pending rejection, if any: returns its code (0 when none).
int TakeRejection(const char** what);

}  // namespace kalvex
