// The plot statement: plot(from; variable; to; intervals[; file]) = expression.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The parts of a plot statement line.
struct PlotRequest {
    std::string expression; // trimmed, case kept
    std::string variable;   // trimmed, lower case; empty substitutes nothing
    double rangeFrom = 0;
    double rangeTo = 0;
    std::int32_t intervals = 0;
    std::string pointFile; // trimmed, case kept
};

// Reads a plot statement: pos is the 1-based position of its "=" (of its
// first "(" when it has none), parenOpen and parenClose those of the first
// "(" and ")" before it. Returns "" with request filled, or the problem that
// makes the line no plot.
std::string ParsePlotStatement(std::string_view line, std::size_t pos, std::size_t parenOpen,
                               std::size_t parenClose, PlotRequest& request);
