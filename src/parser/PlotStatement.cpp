#include "parser/PlotStatement.h"

#include <cmath>

#include "aPlot/PlotExport.h"
#include "aPlot/PlotRender.h"
#include "aPlot/PlotWindows.h"
#include "aPlot/Sampling.h"
#include "AuxFunct/OptionState.h"
#include "AuxFunct/ResultText.h"
#include "parser/Statements.h"
#include "parser/StatementText.h"

namespace {

// Sampling more finely than this would only fill the memory: ten million
// intervals already give a point table of some 340 MB.
constexpr double kMaxIntervals = 10'000'000;

} // namespace

std::string ParsePlotStatement(std::string_view line, std::size_t pos, std::size_t parenOpen,
                               std::size_t parenClose, PlotRequest& request) {
    if (pos == 0 || pos > line.size() || line[pos - 1] != '=') return "the statement has no \"=\" before its expression";
    if (parenOpen == 0 || parenClose <= parenOpen) return "the statement has no parameters in parentheses";
    request.expression = std::string(TextAfter(line, pos));
    if (request.expression.empty()) return "the expression is empty";
    const std::string parameters = std::string(TextBetween(line, parenOpen, parenClose)) + ";";
    request.rangeFrom = DecimalValue(Field(parameters, ';', 1));
    request.variable = ToLower(TrimView(Field(parameters, ';', 2)));
    request.rangeTo = DecimalValue(Field(parameters, ';', 3));
    const double intervals = std::nearbyint(DecimalValue(Field(parameters, ';', 4)));
    request.pointFile = std::string(TrimView(Field(parameters, ';', 5)));
    if (!std::isfinite(request.rangeTo - request.rangeFrom)) return "the range must be given by finite numbers";
    if (!(request.rangeFrom < request.rangeTo)) return "the range end must be greater than its start";
    if (!(intervals >= 1)) return "intervals must be at least 1";
    if (intervals > kMaxIntervals) return "intervals must be at most 10000000";
    request.intervals = static_cast<std::int32_t>(intervals);
    return "";
}

void PlotStatement(StatementContext& ctx) {
    PlotRequest request;
    if (const std::string problem = ParsePlotStatement(ctx.line, ctx.pos, ctx.parenOpen, ctx.parenClose, request);
        !problem.empty()) {
        ++ctx.errorCount;
        AppendResultBlock(ctx.processed, ctx.i, Rest(ctx), kNoTarget, "===>  ERROR: plot: " + problem);
        return;
    }
    PlotState& plots = ctx.env.plots;
    plots.kx = &ctx.env.kx;
    const int k = ++plots.plotCount;
    if (plots.plotTable.size() < static_cast<std::size_t>(k) + 1) plots.plotTable.resize(static_cast<std::size_t>(k) + 1);
    PlotRecord& plot = plots.plotTable[static_cast<std::size_t>(k)];
    SetPlotIdentifiers(plot, k);
    plot.expression = std::move(request.expression);
    plot.variable = std::move(request.variable);
    plot.rangeFrom = request.rangeFrom;
    plot.rangeTo = request.rangeTo;
    plot.intervals = request.intervals;

    const bool shown = OpenPlotWindow(plots, k);
    SamplePlot(plots, ctx.env.kx, k, plot.rangeFrom, plot.rangeTo);
    if (!request.pointFile.empty()) WriteSampleTable(plots, request.pointFile, ctx.env.startDir);
    if (!shown) return;
    DrawPlot(plots, k);
    if (ctx.env.opt.optionsGiven[kGivenPlotPath]) {
        SavePlotScreenshot(plots, k, ctx.env.opt.splPath);
        ClosePlotWindow(plots, k);
    }
}
