// The library's one evaluator and the evaluation of number texts.
#pragma once

#include <string_view>

#include "Evaluator.h"

namespace kalvex {

Evaluator& TheEvaluator();

// Compiles text (no parameters) and runs it on the library's evaluator. A
// matrix result stays valid until the evaluator's Reset().
bool CompileAndRun(std::string_view text, Value& out);

// Compiles and evaluates text, which must give a number. what names the text
// in the message when it gives a matrix ("the value of x").
bool EvaluateNumber(std::string_view text, const char* what, double& out);

}  // namespace kalvex
