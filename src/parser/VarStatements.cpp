// var, funct and functf: number variables and functions of the library.
#include <string>
#include <string_view>

#include "AuxFunct/ResultText.h"
#include "AuxFunct/StatusCodes.h"
#include "bindings/KalvexApi.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

namespace {

// A definition the library rejects keeps the old value or none at all: that is
// counted and shown in a result block with the library's error text, so that
// a failed definition never passes for a stored one.
void ReportDefinitionError(StatementContext& ctx) {
    if (const auto error = LastCallError(ctx)) AppendResultBlock(ctx.processed, ctx.i, Rest(ctx), kNoTarget, *error);
}

// Defines the function name with body; an empty body or a failed read counts
// an error and shows the status error text in a result block.
void DefineFunction(StatementContext& ctx, std::string_view name, const std::string& body) {
    if (body.empty() || ctx.env.exitCode != kStatusOk) {
        ++ctx.errorCount;
        AppendResultBlock(ctx.processed, ctx.i, Rest(ctx), kNoTarget, FileErrorText(ctx));
        return;
    }
    ctx.env.kx.SetVarFunct(std::string(name).c_str(), body.c_str(), KALVEX_KIND_FUNCTION);
    ReportDefinitionError(ctx);
}

} // namespace

void VarStatement(StatementContext& ctx) {
    const std::string text = std::string(Rest(ctx)) + ";";
    const std::string name(TrimView(Field(text, ';', 1)));
    const std::string value(TrimView(Field(text, ';', 2)));
    ctx.env.kx.SetVarFunct(name.c_str(), value.c_str(), KALVEX_KIND_VARIABLE);
    ReportDefinitionError(ctx);
}

void FunctStatement(StatementContext& ctx) {
    const std::string text = std::string(Rest(ctx)) + ";";
    DefineFunction(ctx, TrimView(Field(text, ';', 1)), std::string(TrimView(Field(text, ';', 2))));
}

void FunctFileStatement(StatementContext& ctx) {
    const std::string_view rest = Rest(ctx);
    DefineFunction(ctx, Word(rest, 1), ReadStatementFile(ctx, Word(rest, 2)));
}
