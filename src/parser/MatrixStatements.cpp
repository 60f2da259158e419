// matr, vect, matrf, vectf, the multi-line dimx block and the element order.
#include <string>
#include <string_view>

#include "AuxFunct/ResultText.h"
#include "AuxFunct/TextUtil.h"
#include "bindings/KalvexApi.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

namespace {

// Hands a matrix spec to the library; a rejected spec counts an error and
// appends its block.
void DefineMatrix(StatementContext& ctx, const std::string& text) {
    const std::string spec = Without(text, '\'');
    if (const auto error = SetMatrixSpec(ctx, spec)) AppendMatrixErrorBlock(ctx.processed, ctx.i, spec, *error);
}

// A dimx line as the block reads it: trimmed, its comment cut off, and pos the
// 1-based position of its first "=" (else of its first "(", else 0).
struct DimxLine {
    std::string_view text;
    std::size_t pos = 0;
};

DimxLine ReadDimxLine(std::string_view raw) {
    DimxLine line;
    const std::string_view trimmed = TrimView(UpToZeroByte(raw));
    auto at = trimmed.find('=');
    if (at == std::string_view::npos) at = trimmed.find('(');
    line.pos = at == std::string_view::npos ? 0 : at + 1;
    line.text = trimmed.substr(0, trimmed.find('\''));
    return line;
}

// Adds the line's "label = value" fields (from its second ";" field on, up to
// the first empty field) to spec as ";" + value.
void AppendDimxValues(std::string& spec, std::string_view text) {
    auto cut = text.find(';');
    while (cut != std::string_view::npos) {
        text.remove_prefix(cut + 1);
        cut = text.find(';');
        const std::string_view field = TrimView(text.substr(0, cut));
        if (field.empty()) return;
        const std::string_view value = TrimView(Field(field, '=', 2));
        if (!value.empty()) {
            spec += ';';
            spec += value;
        }
    }
}

} // namespace

void MatrStatement(StatementContext& ctx) { DefineMatrix(ctx, std::string(Rest(ctx))); }

void MatrFileStatement(StatementContext& ctx) {
    const std::string text = ReadStatementFile(ctx, Word(Rest(ctx), 1));
    if (const auto error = CountedFileError(ctx)) AppendMatrixErrorBlock(ctx.processed, ctx.i, text, *error);
    else DefineMatrix(ctx, text);
}

void DimxStatement(StatementContext& ctx) {
    std::string spec;
    DimxLine line{ctx.line, ctx.pos};
    for (;;) {
        const std::string_view after = line.pos < line.text.size() ? line.text.substr(line.pos) : "";
        const auto open = after.find('(');
        const std::string name = BracketName(TrimView(after.substr(0, open)));
        if (!ctx.dimxBlockName.empty() && ctx.dimxBlockName != name) {
            // This line starts another matrix: the scanner reads it again.
            ctx.dimxBlockName.clear();
            --ctx.i;
            break;
        }
        ctx.dimxBlockName = name;
        if (spec.empty()) {
            std::string_view dims;
            if (open != std::string_view::npos) {
                dims = after.substr(open + 1);
                dims = dims.substr(0, dims.find(')'));
            }
            const std::string fields = std::string(TrimView(dims)) + ",";
            spec = name + ";" + std::to_string(IntegerValue(Field(fields, ',', 1))) + ";" +
                   std::to_string(IntegerValue(Field(fields, ',', 2)));
        }
        AppendDimxValues(spec, line.text);
        // Read ahead: a following dimx line continues the block.
        ++ctx.i;
        const std::size_t next = static_cast<std::size_t>(ctx.i);
        line = ReadDimxLine(next <= ctx.lines.size() ? ctx.lines[next - 1] : std::string_view{});
        if (ToLower(TrimView(line.text.substr(0, 4))) != "dimx") {
            --ctx.i;
            ctx.dimxBlockName.clear();
            break;
        }
    }
    if (const auto error = SetMatrixSpec(ctx, spec)) AppendDimxErrorBlock(ctx.processed, ctx.i, *error);
}

void ElemOrderSetStatement(StatementContext& ctx) { ctx.env.kx.aElemOrderSet(IntegerValue(Rest(ctx))); }

void ElemOrderExStatement(StatementContext& ctx) {
    AppendElemOrderBlock(ctx.processed, ctx.i, ColumnOrder(ctx) ? "by Col" : "by Row");
}
