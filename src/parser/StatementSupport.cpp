#include <string>

#include "bindings/KalvexApi.h"
#include "parser/ResultText.h"
#include "parser/ScriptFiles.h"
#include "parser/StatementText.h"
#include "parser/Statements.h"

std::string CountedLibraryError(StatementContext& ctx, int error, bool oneSpace) {
    ++ctx.errorCount;
    return LibraryErrorText(ctx.env.kx, error, oneSpace);
}

std::string ReadStatementFile(StatementContext& ctx, std::string_view fileName) {
    return FileStatement(std::string(fileName), "fileinp", std::string(), ctx.env.exitCode);
}

void WriteStatementFile(StatementContext& ctx, std::string_view fileName, const std::string& text) {
    FileStatement(std::string(fileName), "fileout", text, ctx.env.exitCode);
}

OutputTarget OutputOf(std::string_view rest, std::string_view shown) {
    OutputTarget target{StripBrackets(Word(rest, 2)), std::string(kNoTarget)};
    if (!target.file.empty()) target.note = "=>(" + std::string(shown) + ")";
    return target;
}
