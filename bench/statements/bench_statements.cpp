// Runs the real tessara binary on generated scripts in a temporary folder and
// prints its times against bc -l and for two script lengths, with the ratios.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kArithmeticLines = 100000;
constexpr int kRepeats = 5;

// Wall time and processor time (user + system) of a run, in seconds; -1 when
// the run failed.
struct Times {
    double wall = -1;
    double cpu = -1;
    double peakBytes = 0;
};

// Runs program with args, standard input and output redirected to files (or
// /dev/null when empty).
Times TimedRun(const std::string& program, const std::vector<std::string>& args, const std::string& in,
                const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.empty() ? "/dev/null" : in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.empty() ? "/dev/null" : out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime), static_cast<double>(usage.ru_maxrss) * 1024};
}

// The shortest wall and processor times of several runs; other programs
// running on the machine only ever make a run slower.
Times BestOf(int repeats, const std::string& program, const std::vector<std::string>& args, const std::string& in,
             const std::string& out) {
    Times best;
    for (int k = 0; k < repeats; ++k) {
        const Times t = TimedRun(program, args, in, out);
        if (t.wall < 0) return {};
        if (best.wall < 0 || t.wall < best.wall) best.wall = t.wall;
        if (best.cpu < 0 || t.cpu < best.cpu) best.cpu = t.cpu;
        best.peakBytes = t.peakBytes;
    }
    return best;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A random arithmetic expression that both tessara and bc read the same way:
// no unary minus, integer exponents only, no division by zero.
class ExpressionMaker {
public:
    std::string Make() {
        std::string e;
        Sum(e, 0);
        return e;
    }

private:
    void Number(std::string& e) {
        e += std::to_string(Pick(1, 999));
        if (Chance(50)) {
            e += '.';
            e += std::to_string(Pick(10, 99));
        }
    }
    void Factor(std::string& e, int depth) {
        if (depth < 2 && Chance(25)) {
            e += '(';
            Sum(e, depth + 1);
            e += ')';
        } else {
            Number(e);
        }
        if (Chance(15)) {
            e += '^';
            e += std::to_string(Pick(0, 2));
        }
    }
    void Product(std::string& e, int depth) {
        Factor(e, depth);
        for (int k = Pick(0, 2); k > 0; --k) {
            if (Chance(50)) {
                e += '*';
                Factor(e, depth);
            } else {
                e += '/';
                Number(e);
            }
        }
    }
    void Sum(std::string& e, int depth) {
        Product(e, depth);
        for (int k = Pick(0, 3); k > 0; --k) {
            e += Chance(50) ? '+' : '-';
            Product(e, depth);
        }
    }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    std::mt19937 rng_{20261208};
};

// The values of the "Result => Number = " lines of a processed output.
std::vector<double> TessaraValues(const std::string& output) {
    std::vector<double> values;
    const std::string tag = "Result => Number = ";
    for (auto at = output.find(tag); at != std::string::npos; at = output.find(tag, at + 1))
        values.push_back(std::strtod(output.c_str() + at + tag.size(), nullptr));
    return values;
}

std::vector<double> BcValues(const std::string& output) {
    std::vector<double> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) values.push_back(std::strtod(line.c_str(), nullptr));
    return values;
}

// How many values differ by more than the ten decimals printed (relative to
// values above 1); the first few are shown.
int Mismatches(const std::vector<double>& a, const std::vector<double>& b, const std::vector<std::string>& lines) {
    if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
    int bad = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (std::fabs(a[k] - b[k]) <= 1e-9 * std::max(1.0, std::fabs(b[k]))) continue;
        if (++bad <= 3) std::printf("  differs: %s -> tessara %.10f, bc %.10f\n", lines[k].c_str(), a[k], b[k]);
    }
    return bad;
}

// The processed output without its header, which ends with a line of stars.
std::string WithoutHeader(const std::string& output) {
    const std::size_t stars = output.find("\n'*");
    const std::size_t end = stars == std::string::npos ? stars : output.find('\n', stars + 1);
    return end == std::string::npos ? "" : output.substr(end + 1);
}

// tessara against the tight hand-written evaluator and the muparser loop of
// bench/yardstick, on the same script, with the result blocks compared.
bool AgainstYardstick(const std::string& tessara, const std::string& scriptFile, const std::string& outFile,
                      const Times& tessaraTime, const fs::path& dir) {
    const std::string yardstick = (fs::path(tessara).parent_path() / "yardstick").string();
    const std::string tightOut = (dir / "arith-tight.kvx").string();
    const std::string muOut = (dir / "arith-mu.kvx").string();
    const Times tight = BestOf(kRepeats, yardstick, {"tight", scriptFile, tightOut}, "", "");
    const Times mu = BestOf(kRepeats, yardstick, {"muparser", scriptFile, muOut}, "", "");
    if (tight.wall < 0 || mu.wall < 0) {
        std::printf("yardstick: a run failed\n");
        return false;
    }
    const std::string blocks = WithoutHeader(ReadText(outFile));
    const bool same = blocks == ReadText(tightOut);
    const double ratio = tessaraTime.cpu / tight.cpu;
    std::printf("  against a tight hand-written evaluator writing the same blocks (processor time):\n");
    std::printf("    tessara %.3f s, tight evaluator %.3f s, muparser loop %.3f s\n", tessaraTime.cpu, tight.cpu,
                mu.cpu);
    std::printf("    tessara / tight %.2f, target <= 1.5: %s\n", ratio, ratio <= 1.5 ? "met" : "NOT MET");
    std::printf("    result blocks identical to the tight evaluator's: %s; to the muparser loop's: %s\n",
                same ? "yes" : "NO", blocks == ReadText(muOut) ? "yes" : "no (last-digit differences)");
    return same;
}

bool ArithmeticAgainstBc(const std::string& tessara, const fs::path& dir) {
    ExpressionMaker maker;
    std::string script;
    std::string bcInput = "scale=10\n";
    std::vector<std::string> lines;
    for (int k = 0; k < kArithmeticLines; ++k) {
        const std::string& e = lines.emplace_back(maker.Make());
        script += "expr = " + e + "\r\n";
        bcInput += e + "\n";
    }
    const std::string scriptFile = (dir / "arith.kvx").string();
    const std::string outFile = (dir / "arith-out.kvx").string();
    const std::string bcIn = (dir / "arith.bc").string();
    const std::string bcOut = (dir / "arith-bc.txt").string();
    WriteText(scriptFile, script);
    WriteText(bcIn, bcInput);

    const Times tessaraTime = BestOf(kRepeats, tessara, {"/i", scriptFile, "/o", outFile, "/dec:10"}, "", "");
    const Times bcTime = BestOf(kRepeats, "bc", {"-l"}, bcIn, bcOut);
    if (tessaraTime.wall < 0 || bcTime.wall < 0) {
        std::printf("arithmetic: a run failed\n");
        return false;
    }
    // The values are checked against bc with 40 decimals, since bc truncates
    // every quotient at its scale.
    const std::string bcExact = (dir / "arith-exact.txt").string();
    WriteText(bcIn, "scale=40\n" + bcInput.substr(bcInput.find('\n') + 1));
    TimedRun("bc", {"-l"}, bcIn, bcExact);
    const int bad = Mismatches(TessaraValues(ReadText(outFile)), BcValues(ReadText(bcExact)), lines);
    const double wallRatio = bcTime.wall / tessaraTime.wall;
    const double cpuRatio = bcTime.cpu / tessaraTime.cpu;
    std::printf("arithmetic, %d expr lines with 10 decimals into an output file:\n", kArithmeticLines);
    std::printf("  wall time:      tessara %.3f s, bc -l %.3f s, tessara %.1fx faster\n", tessaraTime.wall,
                bcTime.wall, wallRatio);
    std::printf("  processor time: tessara %.3f s, bc -l %.3f s, tessara %.1fx faster\n", tessaraTime.cpu, bcTime.cpu,
                cpuRatio);
    std::printf("  target >= 3x (processor time, steady on a busy machine): %s\n", cpuRatio >= 3 ? "met" : "NOT MET");
    std::printf("  values differing from bc with 40 decimals: %d of %d\n", bad, kArithmeticLines);
    const bool yardstick = AgainstYardstick(tessara, scriptFile, outFile, tessaraTime, dir);
    return cpuRatio >= 3 && bad == 0 && yardstick;
}

// A mixed script of n statements: expr, stoexpr, var, show, matr, solvepolyn
// and integrate with 100 subintervals, in turn.
std::string MixedScript(int n) {
    std::string script;
    for (int k = 0; k < n; ++k) {
        const std::string id = std::to_string(k);
        switch (k % 7) {
        case 0: script += "expr = (" + std::to_string(k % 97 + 1) + " + 0.5) * 2.5 / 3\r\n"; break;
        case 1: script += "stoexpr(s" + id + ") = " + id + " / 7\r\n"; break;
        case 2: script += "var = v" + id + "; " + id + " * 2\r\n"; break;
        case 3: script += "show(v" + std::to_string(k - 1) + ")\r\n"; break;
        case 4: script += "matr = [M" + id + "]; 2; 2; 1; 2; 3; " + id + "\r\n"; break;
        case 5: script += "solvepolyn = x^3 - " + std::to_string(k % 50 + 1) + "\r\n"; break;
        default: script += "integrate(0; 1; 100; simpson; x) = x^2 + " + id + "\r\n"; break;
        }
    }
    return script;
}

bool MixedScaling(const std::string& tessara, const fs::path& dir) {
    Times times[2];
    const int sizes[2] = {10000, 100000};
    for (int s = 0; s < 2; ++s) {
        const std::string scriptFile = (dir / ("mixed" + std::to_string(sizes[s]) + ".kvx")).string();
        WriteText(scriptFile, MixedScript(sizes[s]));
        times[s] = BestOf(kRepeats, tessara, {"/i", scriptFile, "/o", scriptFile + ".out"}, "", "");
        if (times[s].wall < 0) {
            std::printf("mixed: the run of %d statements failed\n", sizes[s]);
            return false;
        }
    }
    const double wallRatio = times[1].wall / times[0].wall;
    const double cpuRatio = times[1].cpu / times[0].cpu;
    std::printf("mixed script (expr, stoexpr, var, show, matr, solvepolyn, integrate n = 100):\n");
    std::printf("  wall time:      10,000 statements %.3f s, 100,000 statements %.3f s, ratio %.1f\n", times[0].wall,
                times[1].wall, wallRatio);
    std::printf("  processor time: 10,000 statements %.3f s, 100,000 statements %.3f s, ratio %.1f\n", times[0].cpu,
                times[1].cpu, cpuRatio);
    std::printf("  target ratio <= 12: %s\n", wallRatio <= 12 && cpuRatio <= 12 ? "met" : "NOT MET");
    return wallRatio <= 12 && cpuRatio <= 12;
}

// Peak resident memory of a run over 1,000,000 expr lines, per byte of input.
bool PeakMemory(const std::string& tessara, const fs::path& dir) {
    constexpr int kLines = 1000000;
    ExpressionMaker maker;
    std::string script;
    for (int k = 0; k < kLines; ++k) script += "expr = " + maker.Make() + "\r\n";
    const std::string scriptFile = (dir / "million.kvx").string();
    WriteText(scriptFile, script);
    const Times t = TimedRun(tessara, {"/i", scriptFile, "/o", scriptFile + ".out", "/dec:10"}, "", "");
    if (t.wall < 0) {
        std::printf("peak memory: the run failed\n");
        return false;
    }
    const double perByte = t.peakBytes / static_cast<double>(script.size());
    std::printf("peak memory, %d expr lines (%.1f MB): %.1f MB, %.2f bytes per input byte, target <= 4: %s\n", kLines,
                static_cast<double>(script.size()) / 1e6, t.peakBytes / 1e6, perByte, perByte <= 4 ? "met" : "NOT MET");
    return perByte <= 4;
}

} // namespace

int main() {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string tessara = (self.parent_path() / "tessara").string();
    std::string pattern = (fs::temp_directory_path() / "bench-statements-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path dir = pattern;
    // No windows and no settings outside the temporary folder.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    setenv("BC_LINE_LENGTH", "0", 1);

    const bool arithmetic = ArithmeticAgainstBc(tessara, dir);
    const bool mixed = MixedScaling(tessara, dir);
    const bool memory = PeakMemory(tessara, dir);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return arithmetic && mixed && memory ? 0 : 1;
}
