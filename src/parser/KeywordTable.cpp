#include <array>
#include <string_view>
#include <utility>

#include "parser/Statement.h"
#include "parser/Statements.h"

namespace {

// Keywords in the order the dispatcher compares them.
constexpr std::array<std::pair<std::string_view, StatementHandler>, 24> kKeywords{{
    {"aabout", AboutStatement},
    {"show", ShowStatement},
    {"plot", PlotStatement},
    {"solvepolyn", SolvePolynStatement},
    {"dimx", DimxStatement},
    {"integrate", IntegrateStatement},
    {"integratef", IntegrateFileStatement},
    {"stoexpr", StoExprStatement},
    {"expr", ExprStatement},
    {"exprf", ExprFileStatement},
    {"derivate", DerivateStatement},
    {"derivatef", DerivateFileStatement},
    {"matr", MatrStatement},
    {"matrf", MatrFileStatement},
    {"vect", MatrStatement},
    {"vectf", MatrFileStatement},
    {"funct", FunctStatement},
    {"functf", FunctFileStatement},
    {"pause", PauseStatement},
    {"varpolyn", VarPolynStatement},
    {"aelemorderset", ElemOrderSetStatement},
    {"aelemorderex", ElemOrderExStatement},
    {"var", VarStatement},
    {"debug", DebugStatement},
}};

} // namespace

StatementHandler FindStatement(std::string_view keyword) {
    for (const auto& [word, handler] : kKeywords)
        if (word == keyword) return handler;
    return nullptr;
}
