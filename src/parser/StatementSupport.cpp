#include <string>

#include "AuxFunct/ResultText.h"
#include "bindings/KalvexApi.h"
#include "parser/ScriptFiles.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

std::string CountedLibraryError(StatementContext& ctx, int error, bool oneSpace) {
    ++ctx.errorCount;
    return LibraryErrorText(ctx.env.kx, error, oneSpace);
}

std::optional<std::string> LastCallError(StatementContext& ctx, bool oneSpace) {
    const int error = ctx.env.kx.GetE_Error();
    if (error == KALVEX_NO_ERROR) return std::nullopt;
    return CountedLibraryError(ctx, error, oneSpace);
}

std::optional<std::string> SetMatrixSpec(StatementContext& ctx, const std::string& spec) {
    // The two reserved arguments as the library's callers pass them.
    ctx.env.kx.SetStrMatrix(spec.c_str(), 0, 1);
    return LastCallError(ctx);
}

bool ColumnOrder(const StatementContext& ctx) {
    // The probe is a 2 x 2 array stored row after row: row 0 is {0, 2}, row 1 is {1, 0}.
    static constexpr double kProbe[4] = {0, 2, 1, 0};
    return ctx.env.kx.aElemOrderEx(kProbe, 0) == KALVEX_BY_COLUMN;
}

std::string ReadStatementFile(StatementContext& ctx, std::string_view fileName) {
    std::string text = FileStatement(std::string(fileName), "fileinp", std::string(), ctx.env.exitCode, &ctx.fileFailure);
    text.resize(UpToZeroByte(text).size());
    return text;
}

std::string FileErrorText(const StatementContext& ctx) {
    std::string text = StatusErrorText(ctx.env.exitCode);
    if (!ctx.fileFailure.empty()) text += " (" + ctx.fileFailure + ")";
    return text;
}

std::optional<std::string> CountedFileError(StatementContext& ctx) {
    if (ctx.fileFailure.empty()) return std::nullopt;
    ++ctx.errorCount;
    return FileErrorText(ctx);
}

void WriteStatementFile(StatementContext& ctx, std::string_view fileName, const std::string& text) {
    FileStatement(std::string(fileName), "fileout", text, ctx.env.exitCode);
}

OutputTarget OutputOf(std::string_view rest, std::string_view shown) {
    OutputTarget target{StripBrackets(Word(rest, 2)), std::string(kNoTarget)};
    if (!target.file.empty()) target.note = "=>(" + std::string(shown) + ")";
    return target;
}
