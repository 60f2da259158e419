// Speed of the library against muparser, measured in the same run:
//  1. parsing and evaluating 100,000 distinct plot-sample texts;
//  2. Integrate with 1,000,000 subintervals against 1,000,000 evaluations of
//     the same expression with a bound variable.
// The ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "kalvex.h"

namespace {

constexpr int kTexts = 100000;
constexpr int kSamples = 1000000;
const char* const kIntegrand = "sin(x)*exp(-x)";

const std::vector<std::string>& PlotTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        t.reserve(kTexts);
        char buf[96];
        for (int i = 0; i < kTexts; ++i) {
            const double x = -5.0 + 10.0 * i / kTexts;
            std::snprintf(buf, sizeof buf, "(%.6f)^2+sin((%.6f))*3", x, x);
            t.emplace_back(buf);
        }
        return t;
    }();
    return texts;
}

void KalvexParseEval(benchmark::State& state) {
    const auto& texts = PlotTexts();
    for (auto _ : state) {
        double sum = 0;
        for (const std::string& t : texts) {
            double v = 0;
            e_eval(t.c_str(), &v, 0);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void MuparserParseEval(benchmark::State& state) {
    const auto& texts = PlotTexts();
    mu::Parser p;
    for (auto _ : state) {
        double sum = 0;
        for (const std::string& t : texts) {
            p.SetExpr(t);
            sum += p.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
}

void KalvexIntegrate(benchmark::State& state) {
    for (auto _ : state) {
        double r = 0;
        Integrate(kIntegrand, 0.0, 10.0, kSamples, 1, "x", &r);
        benchmark::DoNotOptimize(r);
    }
}

void MuparserBoundEval(benchmark::State& state) {
    mu::Parser p;
    double x = 0;
    p.DefineVar("x", &x);
    p.SetExpr(kIntegrand);
    for (auto _ : state) {
        double sum = 0;
        const double h = 10.0 / kSamples;
        for (int i = 0; i <= kSamples; ++i) {
            x = i * h;
            sum += p.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
}

BENCHMARK(KalvexParseEval)->Unit(benchmark::kMillisecond);
BENCHMARK(MuparserParseEval)->Unit(benchmark::kMillisecond);
BENCHMARK(KalvexIntegrate)->Unit(benchmark::kMillisecond);
BENCHMARK(MuparserBoundEval)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of every run for the ratios: both sides
// run on one thread, and CPU time is steadier than wall time on a busy machine.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

void PrintRatio(const RatioReporter& rep, const char* label, const char* ours, const char* peer) {
    const auto a = rep.times.find(ours);
    const auto b = rep.times.find(peer);
    if (a == rep.times.end() || b == rep.times.end() || b->second <= 0) return;
    std::printf("ratio kalvex/muparser %s: %.2f\n", label, a->second / b->second);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "parse+eval (target <= 1)", "KalvexParseEval", "MuparserParseEval");
    PrintRatio(reporter, "integrate vs bound eval (target <= 2)", "KalvexIntegrate", "MuparserBoundEval");
    benchmark::Shutdown();
    return 0;
}
