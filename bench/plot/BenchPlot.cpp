// Plot figures, with the peer of the sampling (one text built and evaluated
// per sample) measured in the same run. "--quick" leaves out the thousand
// plots of the memory figure, which take a minute or two.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ScriptRecords.h"
#include "aPlot/PlotExport.h"
#include "aPlot/PlotModel.h"
#include "aPlot/PlotRender.h"
#include "aPlot/PlotWindows.h"
#include "aPlot/Sampling.h"
#include "bindings/KalvexApi.h"
#include "parser/ProcessScript.h"
#include "platform/Display.h"
#include "platform/FileContent.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kMillion = 1000000;
const std::string kCurve = "sin(x)*exp(-x/5)";

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) best = std::min(best, Seconds(work));
    return best;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The peer: the expression with every whole name equal to var (any case)
// replaced by "(" + number + ")", as a text substitution would do it.
std::string Substituted(const std::string& expression, const std::string& var, const std::string& number) {
    std::string text;
    for (std::size_t i = 0; i < expression.size();) {
        if (!IsNameChar(expression[i])) {
            text += expression[i++];
            continue;
        }
        std::size_t end = i;
        while (end < expression.size() && IsNameChar(expression[end])) ++end;
        std::string word = expression.substr(i, end - i);
        std::string lower = word;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text += lower == var && !std::isdigit(static_cast<unsigned char>(word[0])) ? "(" + number + ")" : word;
        i = end;
    }
    return text;
}

// Peak memory of the real program running script with /spl:0, in MB; -1 on failure.
double PeakMegabytes(const std::string& folder, const std::string& script) {
    const std::vector<std::string> args = {TESSARA_BIN, "/i", script, "/o", folder + "/out.kvx", "/spl:0"};
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TESSARA_BIN, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    // The drawing needs a display: without one, run again on a virtual one.
    const char* display = std::getenv("DISPLAY");
    if ((display == nullptr || *display == '\0') && std::getenv("TESSARA_BENCH_NO_XVFB") == nullptr) {
        setenv("TESSARA_BENCH_NO_XVFB", "1", 1);
        std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
        for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::printf("xvfb-run is missing: the drawing is left out\n");
    }
    KalvexApi kx;
    std::string problem;
    if (!BindKalvex(kx, problem)) {
        std::printf("libKalvex.so cannot be bound: %s\n", problem.c_str());
        return 1;
    }
    const fs::path folder = fs::temp_directory_path() / ("tessara-bench-plot-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    ScriptRecords records(kx);
    records.startDir = folder.string() + "/";
    ScriptEnv& env = records.env;
    PlotState& plots = records.plots;
    std::printf("display: %s\n", DisplayAvailable() ? "yes" : "no (windows and drawing left out)");

    // From the statement to the drawn window.
    const double firstWindow = Seconds([&] { ProcessScript("plot(-2; x; 2; 400) = x^2", env); });
    const double window = BestOf(5, [&] {
        ClosePlotWindows(plots);
        ProcessScript("plot(-2; x; 2; 400) = x^2", env);
    });
    std::printf("plot window of plot(-2; x; 2; 400) = x^2 opened and drawn: %.1f ms, the first of the process "
                "(display and fonts opened) %.1f ms (goal < 50 ms)\n",
                window * 1000, firstWindow * 1000);
    ClosePlotWindows(plots);

    // A million samples: sampling, drawing and the point table together.
    const std::string statement = "plot(0; x; 10; 1000000; p.txt) = " + kCurve;
    const double whole = BestOf(3, [&] { ProcessScript(statement, env); });
    std::printf("plot of 1000001 samples with drawing and point table (%.1f MB): %.3f s (goal < 1 s)\n",
                static_cast<double>(fs::file_size(folder / "p.txt")) / 1e6, whole);

    // Its parts.
    std::string table;
    const double tableText = BestOf(3, [&] { table = SampleTableText(plots); });
    const double tableWrite = BestOf(3, [&] { WriteFileSafely((folder / "p.txt").string(), table, false); });
    const double drawing = BestOf(3, [&] { DrawPlot(plots, 1); });
    std::printf("  parts: point table text %.3f s, its writing %.3f s, drawing %.3f s\n", tableText, tableWrite,
                drawing);

    // Sampling alone against one text per sample.
    const double sampling = BestOf(3, [&] { SamplePlot(plots, kx, 1, 0, 10); });
    const double peer = Seconds([&] {
        double y = 0;
        for (int i = 0; i <= kMillion; ++i) {
            const double x = i == kMillion ? 10.0 : i * (10.0 / kMillion);
            kx.e_eval(Substituted(kCurve, "x", CoordinateText(x)).c_str(), &y, 0);
        }
    });
    std::printf("sampling 1000001 samples: %.3f s; one text per sample: %.3f s; %.1f times faster (goal >= 5)\n",
                sampling, peer, peer / sampling);

    // A thousand plots in one run of the real program, each window closed by
    // its screenshot.
    std::string script;
    if (argc > 1 && std::string(argv[1]) == "--quick") return 0;
    for (int k = 0; k < 1000; ++k) script += "plot(0; x; 10; 1000) = sin(x) + " + std::to_string(k) + "\r\n";
    const std::string scriptFile = (folder / "many.kvx").string();
    FILE* file = std::fopen(scriptFile.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(script.data(), 1, script.size(), file);
        std::fclose(file);
    }
    double run = 0;
    double peak = 0;
    run = Seconds([&] { peak = PeakMegabytes(folder.string(), scriptFile); });
    std::printf("1000 plot statements with /spl:0: peak memory %.1f MB (goal < 200 MB), %.1f s\n", peak, run);

    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
