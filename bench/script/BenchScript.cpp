// Time of the script scanner over scripts of 100,000 and 1,000,000 lines:
// the time must grow linearly with the script.
//
// The lines mix comments, kept "''" lines and statement lines "x = 1" whose
// keyword is no statement, so that the figure is the scanner's own work.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "ScriptRecords.h"
#include "parser/ProcessScript.h"

namespace {

std::string Script(int lines) {
    static const char* const kinds[] = {"' a comment line that is dropped\r\n",
                                        "  ''a kept explanation line\r\n",
                                        "x = 1 ' a statement without a known keyword\r\n",
                                        "value(2; 3) = 4\r\n"};
    std::string text;
    for (int k = 0; k < lines; ++k) text += kinds[k % 4];
    return text;
}

// Best of five runs, in seconds.
double TimeProcessScript(const std::string& script) {
    const KalvexApi kx{};
    ScriptRecords records(kx);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        auto start = std::chrono::steady_clock::now();
        ProcessResult result = ProcessScript(script, records.env);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
        if (result.commandCount == 0) std::printf("unexpected: no command counted\n");
    }
    return best;
}

} // namespace

int main() {
    const double small = TimeProcessScript(Script(100000));
    const double large = TimeProcessScript(Script(1000000));
    const double ratio = large / small;
    std::printf("lines: comments, kept '' lines, statements without a known keyword (scanner only)\n");
    std::printf("ProcessScript, 100,000 lines:   %8.1f ms\n", small * 1e3);
    std::printf("ProcessScript, 1,000,000 lines: %8.1f ms\n", large * 1e3);
    std::printf("ratio 1,000,000 / 100,000 lines: %.2f (limit 12), 1,000,000 lines %s 1 s\n", ratio,
                large < 1.0 ? "under" : "NOT under");
    return ratio <= 12.0 && large < 1.0 ? 0 : 1;
}
