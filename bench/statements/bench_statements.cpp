// Runs the real tessara binary on generated scripts in a temporary folder and
// prints its times against bc -l and for two script lengths, with the ratios.
#include <spawn.h>
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
constexpr int kRepeats = 3;

// Runs program with args, standard input and output redirected to files (or
// /dev/null when empty); returns the wall time in seconds, or -1 on failure.
double TimedRun(const std::string& program, const std::vector<std::string>& args, const std::string& in,
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
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

double BestOf(int repeats, const std::string& program, const std::vector<std::string>& args, const std::string& in,
              const std::string& out) {
    double best = -1;
    for (int k = 0; k < repeats; ++k) {
        const double t = TimedRun(program, args, in, out);
        if (t < 0) return -1;
        if (best < 0 || t < best) best = t;
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
    std::string Make() { return Sum(0); }

private:
    std::string Number() {
        std::string n = std::to_string(std::uniform_int_distribution<int>(1, 999)(rng_));
        if (Chance(50)) n += "." + std::to_string(std::uniform_int_distribution<int>(10, 99)(rng_));
        return n;
    }
    std::string Factor(int depth) {
        std::string f = depth < 2 && Chance(25) ? "(" + Sum(depth + 1) + ")" : Number();
        if (Chance(15)) f += "^" + std::to_string(std::uniform_int_distribution<int>(0, 2)(rng_));
        return f;
    }
    std::string Product(int depth) {
        std::string p = Factor(depth);
        const int n = std::uniform_int_distribution<int>(0, 2)(rng_);
        for (int k = 0; k < n; ++k) p += Chance(50) ? "*" + Factor(depth) : "/" + Number();
        return p;
    }
    std::string Sum(int depth) {
        std::string s = Product(depth);
        const int n = std::uniform_int_distribution<int>(0, 3)(rng_);
        for (int k = 0; k < n; ++k) s += (Chance(50) ? "+" : "-") + Product(depth);
        return s;
    }
    bool Chance(int percent) { return std::uniform_int_distribution<int>(1, 100)(rng_) <= percent; }
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

// How many values differ beyond what bc's truncation at 10 decimals explains.
int Mismatches(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
    int bad = 0;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::fabs(a[k] - b[k]) > 1e-6 * std::max(1.0, std::fabs(a[k]))) ++bad;
    return bad;
}

bool ArithmeticAgainstBc(const std::string& tessara, const fs::path& dir) {
    ExpressionMaker maker;
    std::string script;
    std::string bcInput = "scale=10\n";
    for (int k = 0; k < kArithmeticLines; ++k) {
        const std::string e = maker.Make();
        script += "expr = " + e + "\r\n";
        bcInput += e + "\n";
    }
    const std::string scriptFile = (dir / "arith.kvx").string();
    const std::string outFile = (dir / "arith-out.kvx").string();
    const std::string bcIn = (dir / "arith.bc").string();
    const std::string bcOut = (dir / "arith-bc.txt").string();
    WriteText(scriptFile, script);
    WriteText(bcIn, bcInput);

    const double tTessara = BestOf(kRepeats, tessara, {"/i", scriptFile, "/o", outFile, "/dec:10"}, "", "");
    const double tBc = BestOf(kRepeats, "bc", {"-l"}, bcIn, bcOut);
    if (tTessara < 0 || tBc < 0) {
        std::printf("arithmetic: a run failed (tessara %.3f s, bc %.3f s)\n", tTessara, tBc);
        return false;
    }
    const int bad = Mismatches(TessaraValues(ReadText(outFile)), BcValues(ReadText(bcOut)));
    const double ratio = tBc / tTessara;
    std::printf("arithmetic, %d expr lines: tessara %.3f s, bc -l %.3f s, tessara %.1fx faster (target >= 3x): %s\n",
                kArithmeticLines, tTessara, tBc, ratio, ratio >= 3 ? "met" : "NOT MET");
    std::printf("  values differing from bc: %d\n", bad);
    return ratio >= 3 && bad == 0;
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
    double times[2] = {};
    const int sizes[2] = {10000, 100000};
    for (int s = 0; s < 2; ++s) {
        const std::string scriptFile = (dir / ("mixed" + std::to_string(sizes[s]) + ".kvx")).string();
        WriteText(scriptFile, MixedScript(sizes[s]));
        times[s] = BestOf(kRepeats, tessara, {"/i", scriptFile, "/o", scriptFile + ".out"}, "", "");
        if (times[s] < 0) {
            std::printf("mixed: the run of %d statements failed\n", sizes[s]);
            return false;
        }
    }
    const double ratio = times[1] / times[0];
    std::printf("mixed script: 10,000 statements %.3f s, 100,000 statements %.3f s, ratio %.1f (target <= 12): %s\n",
                times[0], times[1], ratio, ratio <= 12 ? "met" : "NOT MET");
    return ratio <= 12;
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
    std::error_code ec;
    fs::remove_all(dir, ec);
    return arithmetic && mixed ? 0 : 1;
}
