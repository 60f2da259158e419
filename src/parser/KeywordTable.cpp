#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <tuple>
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

constexpr std::size_t kLongestKeyword =
    std::max_element(kKeywords.begin(), kKeywords.end(), [](const auto& x, const auto& y) {
        return x.first.size() < y.first.size();
    })->first.size();

// The optimal string alignment distance of a and the keyword b (edits, with
// the swap of two neighbours as one edit), counted no further than limit + 1.
// Its rows are as long as a keyword, so they live on the stack: the check
// runs for lines whose word is no keyword.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    if (a.size() > b.size() + limit || b.size() > a.size() + limit) return limit + 1;
    std::array<std::array<std::size_t, kLongestKeyword + 1>, 3> rows;
    std::size_t* before = rows[0].data();
    std::size_t* previous = rows[1].data();
    std::size_t* current = rows[2].data();
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        // No later row can fall below this row's least distance.
        if (*std::min_element(current, current + b.size() + 1) > limit) return limit + 1;
        std::tie(before, previous, current) = std::tuple(previous, current, before);
    }
    return std::min(previous[b.size()], limit + 1);
}

} // namespace

bool NearKeyword(std::string_view word) {
    constexpr std::size_t kShortest = 3;
    if (word.size() < kShortest ||
        !std::all_of(word.begin(), word.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        return false;
    const std::size_t limit = word.size() < 5 ? 1 : 2;
    return std::any_of(kKeywords.begin(), kKeywords.end(),
                       [&](const auto& entry) { return EditDistance(word, entry.first, limit) <= limit; });
}

StatementHandler FindStatement(std::string_view keyword) {
    for (const auto& [word, handler] : kKeywords)
        if (word == keyword) return handler;
    return nullptr;
}
