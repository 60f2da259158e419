// The table of built-in functions and constants of the expression language.
#pragma once

#include <string_view>

namespace kalvex {

// Matrix routines among the built-ins; the evaluator hands them to MatrixOps.
enum class MatrixFn { None, Det, Inv, Trn, Trace, Solve, Dot, Cross, Norm };

// Why a built-in function gave no number: filled in by the function itself
// for an argument outside its domain, and left empty when the result just
// overflowed. Each call has its own, so nothing outlives the call.
struct Rejection {
    int code = 0;
    const char* what = "";
};

struct Builtin {
    const char* name;
    const char* args;  // the argument list as shown on the operators screen
    int minArgs;
    int maxArgs;                          // -1: any number
    double (*unary)(double, Rejection&);             // one-argument numeric functions
    double (*nary)(const double*, int, Rejection&);  // the others
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


}  // namespace kalvex
