// The statement handlers that the keyword table dispatches to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parser/Statement.h"

// Expressions and variables (ExprStatements.cpp, VarStatements.cpp)
void ExprStatement(StatementContext& ctx);
void ExprFileStatement(StatementContext& ctx);
void StoExprStatement(StatementContext& ctx);
void ShowStatement(StatementContext& ctx);
void AboutStatement(StatementContext& ctx);
void DebugStatement(StatementContext& ctx);
void PauseStatement(StatementContext& ctx);
void VarStatement(StatementContext& ctx);
void FunctStatement(StatementContext& ctx);
void FunctFileStatement(StatementContext& ctx);

// Matrices and vectors (MatrixStatements.cpp)
void MatrStatement(StatementContext& ctx);
void MatrFileStatement(StatementContext& ctx);
void DimxStatement(StatementContext& ctx);
void ElemOrderSetStatement(StatementContext& ctx);
void ElemOrderExStatement(StatementContext& ctx);

// Polynomials, solver, derivatives and integrals (PolyStatements.cpp)
void VarPolynStatement(StatementContext& ctx);
void SolvePolynStatement(StatementContext& ctx);
void DerivateStatement(StatementContext& ctx);
void DerivateFileStatement(StatementContext& ctx);
void IntegrateStatement(StatementContext& ctx);
void IntegrateFileStatement(StatementContext& ctx);

// Plots (PlotStatement.cpp)
void PlotStatement(StatementContext& ctx);

// Shared by the handlers (StatementSupport.cpp)

// Counts an error and returns the library's error text for error
// (two-space form, or one-space form with oneSpace).
std::string CountedLibraryError(StatementContext& ctx, int error, bool oneSpace = false);

// After a call of the library: nothing when it succeeded, else the error
// counted and its text as CountedLibraryError gives it.
std::optional<std::string> LastCallError(StatementContext& ctx, bool oneSpace = false);

// Defines a matrix or vector from spec: nothing when the library took it,
// else the counted error text.
std::optional<std::string> SetMatrixSpec(StatementContext& ctx, const std::string& spec);

// True when the library reads matrix specs column after column (element
// order 1), false for row after row.
bool ColumnOrder(const StatementContext& ctx);

// The text of a file named by a statement ("fileinp") up to its first zero
// byte; "" and a negative exitCode when it cannot be read, with the file and
// the reason in ctx.fileFailure.
std::string ReadStatementFile(StatementContext& ctx, std::string_view fileName);

// The error text of a statement whose file gave nothing: the status error
// text, followed by the file and the reason when it could not be read.
std::string FileErrorText(const StatementContext& ctx);

// Nothing when the statement's file was read; else the error counted and its
// text (FileErrorText), which takes the place of the library's complaint
// about an empty text.
std::optional<std::string> CountedFileError(StatementContext& ctx);

// Writes text to a file named by a statement ("fileout").
void WriteStatementFile(StatementContext& ctx, std::string_view fileName, const std::string& text);

// The output file of a file variant (its second word without brackets) and
// the target note it gives: "=>(" + shown + ")", or 20 spaces without a file.
struct OutputTarget {
    std::string file;
    std::string note;
};
OutputTarget OutputOf(std::string_view rest, std::string_view shown);
