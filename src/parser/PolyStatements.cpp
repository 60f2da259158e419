// varpolyn, solvepolyn, derivate(f) and integrate(f).
#include <climits>
#include <cmath>
#include <string>
#include <string_view>

#include "AuxFunct/OptionState.h"
#include "AuxFunct/ResultText.h"
#include "AuxFunct/TextUtil.h"
#include "bindings/KalvexApi.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

namespace {

// The derivative of polynomial, or the counted error text (one-space form).
std::string DerivativeText(StatementContext& ctx, const std::string& polynomial) {
    const KalvexApi& kx = ctx.env.kx;
    const char* derivative = kx.lPoly_dydx(polynomial.c_str(), ctx.polyVar.c_str());
    if (auto error = LastCallError(ctx, true)) return std::move(*error);
    return derivative ? derivative : "";
}

// After a call of the library that gives a number: "Number = " + value, or
// the counted error text.
std::string NumberOrError(StatementContext& ctx, double value) {
    if (auto error = LastCallError(ctx)) return std::move(*error);
    return NumberResult(value, ctx.env.opt.decimals);
}

// A subdivision count rounded to the nearest integer (halves to even) and
// kept within the range of an int.
int SubdivisionCount(double value) {
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded) || rounded <= INT_MIN) return INT_MIN;
    if (rounded >= INT_MAX) return INT_MAX;
    return static_cast<int>(rounded);
}

// Integrates the statement in line (integrate(a; b; n; method; var) = function)
// and appends its block; the result also goes to target.file when it is named.
void IntegrateLine(StatementContext& ctx, std::string_view line, std::size_t pos, std::size_t open,
                   std::size_t close, const OutputTarget& target) {
    const KalvexApi& kx = ctx.env.kx;
    const std::string function(TextAfter(line, pos));
    const std::string args = ToLower(TextBetween(line, open, close)) + ";";
    const double a = DecimalValue(Field(args, ';', 1));
    const double b = DecimalValue(Field(args, ';', 2));
    const int n = SubdivisionCount(DecimalValue(Field(args, ';', 3)));
    const int trap = TrimView(Field(args, ';', 4)) == "trap" ? 1 : 0;
    const std::string variable(TrimView(Field(args, ';', 5)));
    double value = 0;
    kx.Integrate(function.c_str(), a, b, n, trap, variable.c_str(), &value);
    const std::string result = NumberOrError(ctx, value);
    if (!target.file.empty()) WriteStatementFile(ctx, target.file, result);
    AppendIntegralBlock(ctx.processed, ctx.i, function, target.note, a, b, result);
}

// 1-based position of c in text at or after the 1-based position from; 0 when absent.
std::size_t PositionOf(std::string_view text, char c, std::size_t from = 1) {
    const auto at = text.find(c, from == 0 ? 0 : from - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

} // namespace

void VarPolynStatement(StatementContext& ctx) { ctx.polyVar = std::string(Rest(ctx)); }

void SolvePolynStatement(StatementContext& ctx) {
    const KalvexApi& kx = ctx.env.kx;
    const std::string polynomial = Without(Rest(ctx), '\'');
    const double value = kx.dSolve(polynomial.c_str(), ctx.polyVar.c_str());
    AppendSolutionBlock(ctx.processed, ctx.i, polynomial, NumberOrError(ctx, value));
}

void DerivateStatement(StatementContext& ctx) {
    const std::string polynomial = Without(Rest(ctx), '\'');
    AppendDerivateBlock(ctx.processed, ctx.i, polynomial, DerivativeText(ctx, polynomial));
}

void DerivateFileStatement(StatementContext& ctx) {
    const std::string_view rest = Rest(ctx);
    const OutputTarget target = OutputOf(rest, Without(rest, '\''));
    const std::string polynomial = ReadStatementFile(ctx, Word(rest, 1));
    const auto fileError = CountedFileError(ctx);
    const std::string result = fileError ? *fileError : DerivativeText(ctx, polynomial);
    if (!target.file.empty()) WriteStatementFile(ctx, target.file, result);
    AppendDerivateBlock(ctx.processed, ctx.i, polynomial, result);
}

void IntegrateStatement(StatementContext& ctx) {
    IntegrateLine(ctx, ctx.line, ctx.pos, ctx.parenOpen, ctx.parenClose, OutputTarget{{}, std::string(kNoTarget)});
}

void IntegrateFileStatement(StatementContext& ctx) {
    const std::string_view rest = Rest(ctx);
    const OutputTarget target = OutputOf(rest, rest);
    const std::string statement = ReadStatementFile(ctx, Word(rest, 1));
    if (const auto error = CountedFileError(ctx)) {
        if (!target.file.empty()) WriteStatementFile(ctx, target.file, *error);
        AppendIntegralBlock(ctx.processed, ctx.i, statement, target.note, 0, 0, *error);
        return;
    }
    const std::size_t open = PositionOf(statement, '(');
    IntegrateLine(ctx, statement, PositionOf(statement, '='), open, PositionOf(statement, ')', open), target);
}
