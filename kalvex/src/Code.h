// Compiled form of an expression: a flat postfix program for a value stack.
//
// The parser emits it in one pass; the evaluator runs it in a loop, so that
// neither evaluation nor deep left-nested sums recurse on the C++ stack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvex {

struct Rejection;  // Builtins.h

enum class Op : std::uint8_t {
    Num,       // push num
    Param,     // push bound parameter a
    Name,      // push variable or formula names[a]
    Mat,       // push stored matrix names[a]
    Neg,
    Add, Sub, Mul, Div, Pow,
    Lt, Le, Gt, Ge, Eq, Ne,
    Call,      // built-in function a with argc arguments
    Call1,     // built-in numeric function a of one argument (the common case)
    UserCall,  // user function names[a] with argc arguments
};

struct Instr {
    Op op = Op::Num;
    std::uint16_t argc = 0;
    std::int32_t a = 0;
    std::int32_t pos = 0;  // 1-based position in the source text
    double num = 0.0;
    double (*fn)(double, Rejection&) = nullptr;  // the function of Call1
};

struct Code {
    std::vector<Instr> instrs;
    std::vector<std::string> names;  // lower-case names used by Name, Mat, UserCall

    // No program pushes more values than it has instructions: the size of
    // the stack it needs at most.
    std::size_t MaxStack() const { return instrs.size(); }

    void Clear() {
        instrs.clear();
        names.clear();
    }
};

}  // namespace kalvex
