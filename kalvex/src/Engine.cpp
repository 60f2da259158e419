#include "Engine.h"

#include <string>

#include "Errors.h"
#include "Parser.h"

namespace kalvex {

Evaluator& TheEvaluator() {
    static Evaluator evaluator;
    return evaluator;
}

bool CompileAndRun(std::string_view text, Value& out) {
    static Code code;
    static const std::vector<std::string> noParams;
    return Compile(text, noParams, code) && TheEvaluator().Run(code, nullptr, out);
}

bool EvaluateNumber(std::string_view text, const char* what, double& out) {
    Evaluator& ev = TheEvaluator();
    Value v;
    const bool ok = CompileAndRun(text, v);
    if (ok && !v.IsNumber()) {
        const std::string shape = ev.Shape(v);
        ev.Reset();
        return Fail(kShape, std::string(what) + " must be a number, got " + shape);
    }
    ev.Reset();
    out = v.num;
    return ok;
}

}  // namespace kalvex
