// Times the program from process start to exit on a one-line script, without
// a display, and prints the median of 20 runs beside that of /bin/true (the
// cost of starting any process here).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

constexpr int kRuns = 20;
constexpr double kTargetMs = 15.0;

// Runs program with args in folder; returns the wall time in milliseconds,
// or a negative value when it did not end with exit code 0.
double TimedRun(const std::string& program, const std::vector<std::string>& args,
                const std::vector<std::string>& env, const std::string& folder) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string cwd = fs::current_path().string();
    fs::current_path(folder);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    int status = 0;
    if (spawned == 0) waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    fs::current_path(cwd);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2] + values[(values.size() - 1) / 2]) / 2;
}

} // namespace

int main() {
    const fs::path binFolder = fs::read_symlink("/proc/self/exe").parent_path();
    const std::string tessara = (binFolder / "tessara").string();
    const fs::path folder = fs::temp_directory_path() / ("tessara-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "a.kvx", std::ios::binary) << "expr = 2 + 3\r\n";

    // The environment of a run without a display, with settings kept in the scratch folder.
    std::vector<std::string> env{"XDG_CONFIG_HOME=" + (folder / "config").string(),
                                 "XDG_RUNTIME_DIR=" + folder.string()};
    if (const char* home = std::getenv("HOME")) env.push_back(std::string("HOME=") + home);

    std::vector<double> program, floor;
    TimedRun(tessara, {"/i", "a.kvx", "/o", "out.kvx"}, env, folder.string()); // warm the file cache
    for (int k = 0; k < kRuns; ++k) {
        program.push_back(TimedRun(tessara, {"/i", "a.kvx", "/o", "out.kvx"}, env, folder.string()));
        floor.push_back(TimedRun("/bin/true", {}, env, folder.string()));
    }
    fs::remove_all(folder);
    if (std::any_of(program.begin(), program.end(), [](double t) { return t < 0; })) {
        std::printf("startup: a run of %s failed\n", tessara.c_str());
        return 1;
    }
    const double median = Median(program);
    std::printf("startup: one-line script, median of %d runs: %.2f ms (target < %.0f ms: %s)\n", kRuns, median,
                kTargetMs, median < kTargetMs ? "met" : "MISSED");
    std::printf("startup: /bin/true, median of %d runs: %.2f ms; ratio tessara / true: %.1f\n", kRuns,
                Median(floor), median / Median(floor));
    return 0;
}
