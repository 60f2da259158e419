// The exported C interface (kalvex.h): argument checks, error state and the
// texts handed out; the work is done by the other files.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Definitions.h"
#include "Engine.h"
#include "Errors.h"
#include "Integration.h"
#include "Listing.h"
#include "MatrixSpec.h"
#include "Parser.h"
#include "Polynomial.h"
#include "Store.h"
#include "TextUtil.h"
#include "Texts.h"
#include "kalvex.h"

using namespace kalvex;

namespace {

int g_resultType = KALVEX_RESULT_NUMBER;

// Every exported operation starts here: no error, no work done yet.
void Begin() {
    ClearError();
    TheEvaluator().StartOperation();
}

bool MissingText(const char* text, const char* what) {
    if (text) return false;
    Fail(kEmpty, std::string("No ") + what + " text was given");
    return true;
}

void Trace(const char* call, const char* text, double value) {
    if (!TheStore().debug) return;
    if (ErrorPending()) {
        std::fprintf(stderr, "Kalvex: %s(\"%.200s\") -> error %d: %s\n", call, text ? text : "", LastError(),
                     LastErrorText().c_str());
    } else {
        std::fprintf(stderr, "Kalvex: %s(\"%.200s\") -> %.17g\n", call, text ? text : "", value);
    }
}

// A plot sample must be a number.
bool PlotNumber(const Value& r) {
    return r.IsNumber() || Fail(kShape, "A plot needs a number, got " + TheEvaluator().Shape(r));
}

bool EvaluateStatement(const char* text, int flag, double& v) {
    Value r;
    if (!CompileAndRun(text, r)) return false;
    if (r.IsNumber()) {
        v = r.num;
    } else if (flag == KALVEX_EVAL_PLOT) {
        return PlotNumber(r);
    } else {
        v = TheStore().AddResult(TheEvaluator().MatrixOf(r));
        g_resultType = KALVEX_RESULT_MATRIX;
    }
    return true;
}

// The handle of a result matrix from its integer text.
bool ParseHandle(const char* text, int& handle) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (end == text || !end || *end != '\0' || std::floor(v) != v || v < 1 || v > 2147483647.0) return false;
    handle = static_cast<int>(v);
    return true;
}

// FindMatrix's search: a bracketed name or a result handle.
const Matrix* LookUpMatrix(const char* name, int mode) {
    const Matrix* m = nullptr;
    if (mode == KALVEX_MATRIX_BY_NAME) {
        m = TheStore().FindMatrix(MatrixKey(name));
        if (!m) Fail(kUnknownMatrix, "Unknown matrix '" + std::string(Trim(name)) + "'");
    } else if (mode == KALVEX_MATRIX_BY_HANDLE) {
        int handle = 0;
        if (ParseHandle(name, handle)) m = TheStore().FindResult(handle);
        if (!m) Fail(kUnknownMatrix, "Unknown matrix: no result matrix has the handle '" + std::string(name) + "'");
    } else {
        Fail(kBadArgument, "Invalid argument: FindMatrix mode " + std::to_string(mode) + " (use " +
                               std::to_string(KALVEX_MATRIX_BY_NAME) + " or " +
                               std::to_string(KALVEX_MATRIX_BY_HANDLE) + ")");
    }
    return m;
}

}  // namespace

extern "C" {

int e_eval(const char* text, double* value, int flag) {
    Begin();
    g_resultType = KALVEX_RESULT_NUMBER;
    double v = 0.0;
    if (!MissingText(text, "expression")) {
        EvaluateStatement(text, flag, v);
        TheEvaluator().Reset();
    }
    if (ErrorPending()) v = 0.0;
    if (value) *value = v;
    Trace("e_eval", text, v);
    return ErrorPending() ? LastError() : 0;
}

int e_evalAt(const char* text, const char* var, const double* x, int count, double* y, unsigned char* valid) {
    static Code code;
    ClearError();
    g_resultType = KALVEX_RESULT_NUMBER;
    if (count > 0 && (!x || !y || !valid)) {
        Fail(kBadArgument, "Invalid argument: no arrays for the samples");
        return LastError();
    }
    // A variable that is not a name cannot stand in the text as a name.
    std::vector<std::string> params;
    const std::string_view name = var ? Trim(var) : std::string_view{};
    if (IsName(name)) params.push_back(ToLower(name));
    const bool compiled = !MissingText(text, "expression") && Compile(text, params, code);
    const int compileError = compiled ? 0 : LastError();
    Evaluator& ev = TheEvaluator();
    for (int i = 0; i < count; ++i) {
        Value param;
        param.num = x[i];
        Value r;
        bool ok = false;
        if (compiled) {
            ClearError();
            ok = ev.Run(code, &param, r) && PlotNumber(r);
            ev.Reset();
        }
        y[i] = ok ? r.num : 0.0;
        valid[i] = ok ? 1 : 0;
    }
    Trace("e_evalAt", text, static_cast<double>(count));
    return compileError;
}

int GetE_Error(void) { return LastError(); }

const char* GetE_ErrDescr(int error) {
    if (error != kNoError && error == LastError()) return LastErrorText().c_str();
    return ErrorTitle(error);
}

int GetResultType(void) { return g_resultType; }

const double* FindMatrix(const char* name, int mode, int* rows, int* cols) {
    Begin();
    const Matrix* m = MissingText(name, "matrix name") ? nullptr : LookUpMatrix(name, mode);
    if (rows) *rows = m ? static_cast<int>(m->rows()) : 0;
    if (cols) *cols = m ? static_cast<int>(m->cols()) : 0;
    return m ? m->data() : nullptr;
}

void SetStrMatrix(const char* spec, int, int) {
    Begin();
    if (!MissingText(spec, "matrix spec")) DefineMatrixFromSpec(spec);
    Trace("SetStrMatrix", spec, 0.0);
}

void SetVarFunct(const char* name, const char* text, int kind) {
    Begin();
    if (MissingText(name, "name") || MissingText(text, "value")) return;
    if (kind == KALVEX_KIND_VARIABLE) {
        DefineVariable(name, text);
    } else if (kind == KALVEX_KIND_FUNCTION) {
        if (Trim(text).empty()) Fail(kEmpty, "Empty expression: the function " + std::string(Trim(name)) + " has no body");
        else DefineFunction(name, text);
    } else {
        Fail(kBadArgument, "Invalid argument: SetVarFunct kind " + std::to_string(kind) + " (use " +
                               std::to_string(KALVEX_KIND_VARIABLE) + " or " +
                               std::to_string(KALVEX_KIND_FUNCTION) + ")");
    }
    Trace("SetVarFunct", name, 0.0);
}

int FindVarVal2(const char* name, int kind, void* out, double* len) {
    Begin();
    if (MissingText(name, "name")) return 0;
    std::string_view bare = Trim(name);
    if (kind == KALVEX_KIND_VARIABLE) {
        const double* v = TheStore().FindVariable(ToLower(bare));
        if (v && out) *static_cast<double*>(out) = *v;
        if (v) return 1;
    } else {
        bare = Trim(bare.substr(0, bare.find('(')));
        const FunctionDef* f = TheStore().FindFunction(ToLower(bare));
        if (f) {
            const double room = len && std::isfinite(*len) ? std::floor(*len) : 0.0;
            if (out && room >= 1) {
                const std::size_t n = std::min(f->body.size(), static_cast<std::size_t>(std::min(room, 1e9)) - 1);
                std::memcpy(out, f->body.data(), n);
                static_cast<char*>(out)[n] = '\0';
            }
            if (len) *len = static_cast<double>(f->body.size());
            return 1;
        }
    }
    Fail(kUnknownName, "Unknown name '" + std::string(bare) + "'");
    return 0;
}

const char* GetFunctText(const char* name) {
    static std::string body;
    Begin();
    if (MissingText(name, "name")) return nullptr;
    std::string_view bare = Trim(name);
    bare = Trim(bare.substr(0, bare.find('(')));
    const FunctionDef* f = TheStore().FindFunction(ToLower(bare));
    if (!f) {
        Fail(kUnknownName, "Unknown function '" + std::string(bare) + "'");
        return nullptr;
    }
    body = f->body;
    return body.c_str();
}

const char* aPrint(const double* elements, int rows, int cols, const char*, const char* zeroMask, const char*,
                   const char*) {
    static std::string listing;
    Begin();
    listing.clear();
    if (!elements || rows <= 0 || cols <= 0) {
        Fail(kBadArgument, "Invalid argument: no matrix to list (" + std::to_string(rows) + " x " +
                               std::to_string(cols) + ")");
    } else {
        listing = ListMatrix(elements, rows, cols, DecimalsOfMask(zeroMask));
    }
    return listing.c_str();
}

void aElemOrderSet(int order) {
    Begin();
    TheStore().elementOrder = order != KALVEX_BY_ROW ? KALVEX_BY_COLUMN : KALVEX_BY_ROW;
}

int aElemOrderEx(const double* probe, int) {
    Begin();
    const int order = TheStore().elementOrder;
    if (!probe) return order;
    // Element (0, 1) of the probe is 2 when it is read row after row.
    return probe[order == KALVEX_BY_ROW ? 1 : 2] == 2.0 ? KALVEX_BY_ROW : KALVEX_BY_COLUMN;
}

const char* aAbout(int) {
    Begin();
    return AboutText().c_str();
}

void SetDebugF(int on) {
    Begin();
    TheStore().debug = on != 0;
}

double dSolve(const char* polynomial, const char* var) {
    Begin();
    double root = 0.0;
    ExactPoly c;
    std::string chosen;
    if (!MissingText(polynomial, "polynomial") &&
        ExpandPolynomial(polynomial, var ? var : "", c, chosen)) {
        SmallestRealRoot(c, root);
    }
    if (ErrorPending()) root = 0.0;
    Trace("dSolve", polynomial, root);
    return root;
}

void Integrate(const char* function, double a, double b, int n, int trap, const char* var, double* result) {
    Begin();
    double r = 0.0;
    if (!MissingText(function, "function")) IntegrateText(function, a, b, n, trap != 0, var ? var : "", r);
    if (ErrorPending()) r = 0.0;
    if (result) *result = r;
    Trace("Integrate", function, r);
}

const char* lPoly_dydx(const char* polynomial, const char* var) {
    static std::string text;
    Begin();
    text.clear();
    ExactPoly c;
    Poly d;
    std::string chosen;
    if (!MissingText(polynomial, "polynomial") && ExpandPolynomial(polynomial, var ? var : "", c, chosen) &&
        ToDoubles(Derivative(c), "the derivative", d)) {
        text = PolynomialText(d, chosen);
    }
    Trace("lPoly_dydx", polynomial, 0.0);
    return text.c_str();
}

void ReSetEqParser(void) {
    Begin();
    TheStore().Forget();
}

const char* KalvexVersion(void) {
    Begin();
    return VersionText();
}

const char* KalvexOperators(void) {
    Begin();
    return OperatorsText().c_str();
}

}  // extern "C"
