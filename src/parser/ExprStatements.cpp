// expr, exprf, stoexpr, show, aabout, debug and pause.
#include <string>
#include <string_view>

#include "AuxFunct/OptionState.h"
#include "AuxFunct/ResultText.h"
#include "AuxFunct/StatusCodes.h"
#include "AuxFunct/TextUtil.h"
#include "AuxFunct/TidyNumber.h"
#include "bindings/KalvexApi.h"
#include "parser/ScriptFiles.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

namespace {

// The matrix that the last e_eval made, looked up by its handle value.
const double* ResultMatrix(const KalvexApi& kx, double handle, int& rows, int& cols) {
    rows = 0;
    cols = 0;
    return kx.FindMatrix(RoundedText(handle).c_str(), KALVEX_MATRIX_BY_HANDLE, &rows, &cols);
}

// Evaluates expression and appends its result text to out: "Number = " +
// value, or "Vector: "/"Matrix: " + the library's listing, or the counted
// error text. An empty expression appends nothing.
void AppendEvaluation(StatementContext& ctx, const std::string& expression, std::string& out) {
    if (expression.empty()) return;
    const KalvexApi& kx = ctx.env.kx;
    double value = 0;
    kx.e_eval(expression.c_str(), &value, KALVEX_EVAL_STATEMENT);
    if (const auto error = LastCallError(ctx)) {
        out += *error;
        return;
    }
    if (kx.GetResultType() != KALVEX_RESULT_MATRIX) {
        AppendNumberResult(out, value, ctx.env.opt.decimals);
        return;
    }
    int rows = 0;
    int cols = 0;
    const double* elements = ResultMatrix(kx, value, rows, cols);
    if (!elements) {
        out += CountedLibraryError(ctx, kx.GetE_Error());
        return;
    }
    const char* listing = kx.aPrint(elements, rows, cols, "String", ctx.zeroMask.c_str(), "", "");
    out += cols <= 1 ? "Vector: " : "Matrix: ";
    if (listing) out += listing;
}

// Stores the matrix that e_eval made under name and returns "Matr = "/"Vect = " + its spec.
// The library hands the elements out row after row; the matrix spec lists them in the
// element order in force, so that it defines the same matrix when read back.
std::string StoreMatrix(StatementContext& ctx, std::string_view name, double handle, std::string& spec) {
    const KalvexApi& kx = ctx.env.kx;
    int rows = 0;
    int cols = 0;
    const double* elements = ResultMatrix(kx, handle, rows, cols);
    if (!elements) return CountedLibraryError(ctx, kx.GetE_Error());
    spec = BracketName(name);
    spec += "; " + std::to_string(rows) + "; " + std::to_string(cols) + ";";
    const auto rowCount = static_cast<std::size_t>(rows);
    const auto colCount = static_cast<std::size_t>(cols);
    const bool byColumn = ColumnOrder(ctx);
    for (std::size_t k = 0; k < rowCount * colCount; ++k) {
        const std::size_t at = byColumn ? (k % rowCount) * colCount + k / rowCount : k;
        spec += TidyNumber(NumberText(elements[at], 10));
        spec += "; ";
    }
    if (auto error = SetMatrixSpec(ctx, spec)) return std::move(*error);
    return (cols <= 1 ? "Vect = " : "Matr = ") + spec;
}

// The listing of a stored matrix for show: name, then one line per row of
// "mA(r,c)=value" entries ("vE(k)=value" for a vector), each followed by a tab.
std::string ShowListing(const std::string& name, const double* elements, int rows, int cols,
                        std::int32_t decimals) {
    std::string listing = cols <= 1 ? "Vector: " : "Matrix: ";
    listing += name;
    listing += "\r\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (cols == 1) listing += "vE(" + std::to_string(r) + ")=";
            else if (rows == 1) listing += "vE(" + std::to_string(c) + ")=";
            else listing += "mA(" + std::to_string(r) + "," + std::to_string(c) + ")=";
            listing += NumberText(elements[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                           static_cast<std::size_t>(c)],
                                  decimals);
            listing += '\t';
        }
        listing += "\r\n";
    }
    return listing;
}

} // namespace

// The common statement: its result goes straight into the processed text.
void ExprStatement(StatementContext& ctx) {
    std::string& expression = ctx.scratch;
    expression.assign(Rest(ctx));
    BeginResultBlock(ctx.processed, ctx.i, expression, kNoTarget);
    AppendEvaluation(ctx, expression, ctx.processed);
    EndBlock(ctx.processed);
}

void ExprFileStatement(StatementContext& ctx) {
    const std::string_view rest = Rest(ctx);
    const OutputTarget target = OutputOf(rest, rest);
    std::string expression = ReadStatementFile(ctx, Word(rest, 1));
    std::string result;
    if (expression.empty() || ctx.env.exitCode != kStatusOk) {
        ++ctx.errorCount;
        result = FileErrorText(ctx);
    } else {
        std::string_view text = expression;
        if (const auto eq = text.find('='); eq != std::string_view::npos) text = TrimView(text.substr(eq + 1));
        expression = ToLower(TrimView(text.substr(0, text.find('\''))));
        AppendEvaluation(ctx, expression, result);
    }
    if (!target.file.empty()) WriteStatementFile(ctx, target.file, result);
    AppendResultBlock(ctx.processed, ctx.i, expression, target.note, result);
}

void StoExprStatement(StatementContext& ctx) {
    const KalvexApi& kx = ctx.env.kx;
    const std::string expression(Rest(ctx));
    const std::string_view inner = Inner(ctx);
    std::string_view name = inner;
    std::string_view word;
    std::string_view file;
    std::string note(kNoTarget);
    if (!TrimView(Field(inner, ';', 2)).empty()) {
        name = TrimView(Field(inner, ';', 1));
        word = TrimView(Field(inner, ';', 2));
        file = TrimView(Field(inner, ';', 3));
        note = "(=>" + std::string(word) + " " + std::string(file) + ")";
    }
    double value = 0;
    kx.e_eval(expression.c_str(), &value, KALVEX_EVAL_STATEMENT);
    std::string result;
    if (auto error = LastCallError(ctx)) {
        result = std::move(*error);
    } else if (kx.GetResultType() == KALVEX_RESULT_MATRIX) {
        std::string spec;
        result = StoreMatrix(ctx, name, value, spec);
        if (!spec.empty() && note != kNoTarget)
            FileStatement(std::string(file), std::string(word), spec, ctx.env.exitCode);
    } else {
        const std::int32_t decimals = ctx.env.opt.decimals;
        kx.SetVarFunct(std::string(name).c_str(), TidyNumber(NumberText(value, decimals)).c_str(),
                       KALVEX_KIND_VARIABLE);
        if (auto storeError = LastCallError(ctx))
            result = std::move(*storeError);
        else
            result = "Number " + std::string(name) + " = " + NumberText(value, decimals);
    }
    AppendStoredBlock(ctx.processed, ctx.i, expression, note, result);
}

void ShowStatement(StatementContext& ctx) {
    const KalvexApi& kx = ctx.env.kx;
    std::string name(Inner(ctx));
    std::string result;
    double value = 0;
    if (kx.FindVarVal2(name.c_str(), KALVEX_KIND_VARIABLE, &value, nullptr)) {
        result = "Number " + name + " = " + NumberText(value, ctx.env.opt.decimals);
    } else if (const char* body = kx.GetFunctText(name.c_str())) {
        result = "Function " + name + " = " + body;
    } else {
        name = BracketName(name);
        int rows = 0;
        int cols = 0;
        const double* elements = kx.FindMatrix(name.c_str(), KALVEX_MATRIX_BY_NAME, &rows, &cols);
        result = elements ? ShowListing(name, elements, rows, cols, ctx.env.opt.decimals) : "not found";
    }
    AppendShowBlock(ctx.processed, ctx.i, name, result);
}

void AboutStatement(StatementContext& ctx) {
    const char* about = ctx.env.kx.aAbout(1);
    if (!about) return;
    const std::string_view text = about;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', start)) {
        ctx.processed += '\'';
        ctx.processed += text.substr(start, end - start + 1);
        start = end + 1;
    }
}

void DebugStatement(StatementContext& ctx) { ctx.env.kx.SetDebugF(IntegerValue(Rest(ctx))); }

void PauseStatement(StatementContext&) {}
