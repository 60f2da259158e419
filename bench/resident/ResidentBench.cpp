// Resident mode, measured on the real program without a display:
// - hand-over latency: a launch that hands a one-line script to a resident
//   instance, from process start to exit, against a bare launch
//   ("tessara /quit" with no instance) interleaved with it; and the time
//   from the launch until the instance has replaced the output file; a
//   plain one-line run with no instance, a hand-over with /sync, and the
//   processor time of bc -l on a one-line program, interleaved the same way
//   (medians of 200);
// - soak: 10,000 hand-overs from 8 launchers at once, each appending to its
//   own output file: every line must arrive exactly once and in order per
//   launcher; the instance's resident memory after the soak against that
//   after the first 100;
// - idle: the processor time of an instance waiting 10 s (from /proc),
//   without and with /gclp (the latter on its own Xvfb server).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

extern char** environ;

namespace {

constexpr int kLatencyRuns = 200;
constexpr int kLaunchers = 8;
constexpr int kSoakHandOvers = 10000;
constexpr int kSoakFirst = 100;
constexpr int kIdleSeconds = 10;

struct Place {
    fs::path folder;              // working folder and home of the runtime and config folders
    std::vector<std::string> env; // the environment of every process started here
};

Place MakePlace(const fs::path& folder, const std::string& display = "") {
    fs::create_directories(folder / "runtime");
    fs::permissions(folder / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    std::ofstream(folder / "a.kvx", std::ios::binary) << "expr = 2 + 3\r\n";
    Place place{folder, {"XDG_CONFIG_HOME=" + (folder / "config").string(),
                         "XDG_RUNTIME_DIR=" + (folder / "runtime").string(), "PATH=/usr/bin:/bin"}};
    if (const char* home = std::getenv("HOME")) place.env.push_back(std::string("HOME=") + home);
    if (!display.empty()) place.env.push_back("DISPLAY=" + display);
    return place;
}

// Starts program in the place with its standard streams on /dev/null; with
// fdForChild >= 0 that descriptor becomes the child's descriptor 3.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, const Place& place,
            int fdForChild = -1) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : place.env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (fdForChild >= 0) posix_spawn_file_actions_adddup2(&actions, fdForChild, 3);
    posix_spawn_file_actions_addchdir_np(&actions, place.folder.c_str());
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the process; cpuMs (when given) receives its user and system time.
int ExitCode(pid_t pid, double* cpuMs = nullptr) {
    int status = 0;
    rusage usage{};
    if (pid <= 0 || wait4(pid, &status, 0, &usage) != pid) return -1;
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    if (cpuMs != nullptr) *cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2] + values[(values.size() - 1) / 2]) / 2;
}

bool WaitFor(const std::function<bool()>& test, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!test()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts a resident instance in the place; -1 when its mailbox does not open.
pid_t StartResident(const std::string& tessara, const Place& place, const std::vector<std::string>& args) {
    const pid_t pid = Spawn(tessara, args, place);
    if (!WaitFor([&] { return fs::exists(place.folder / "runtime/tessara/tsr"); }, 20)) {
        kill(pid, SIGKILL);
        ExitCode(pid);
        return -1;
    }
    return pid;
}

void EndResident(pid_t pid) {
    kill(pid, SIGTERM);
    ExitCode(pid);
}

long ResidentKiB(pid_t pid) {
    std::istringstream status(ReadText("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// User and system time of the process so far, in seconds.
double CpuSeconds(pid_t pid) {
    const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int k = 3; k <= 15 && fields >> field; ++k) {
        if (k >= 14) ticks += std::atof(field.c_str());
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool Latency(const std::string& tessara, const fs::path& root) {
    const Place resident = MakePlace(root / "latency");
    const Place bare = MakePlace(root / "bare");
    const pid_t instance = StartResident(tessara, resident, {"/tsr", "/i", "a.kvx", "/o", "first.kvx"});
    if (instance < 0) {
        std::printf("resident: latency: the resident instance did not start\n");
        return false;
    }
    std::vector<double> handOver, result, bareLaunch, handOverCpu, bareCpu, synced, plain, plainCpu, bcCpu;
    std::ofstream(bare.folder / "a.bc") << "2 + 3\nquit\n";
    const std::string bc = fs::exists("/usr/bin/bc") ? "/usr/bin/bc" : "";
    double cpu = 0;
    bool ok = true;
    // The same line each time, as an editor's key sends it; each output
    // replaces the file, so a new inode tells that it was written.
    const fs::path output = resident.folder / "out.kvx";
    const auto inode = [&output] {
        struct stat info {};
        return stat(output.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    for (int k = 0; k < kLatencyRuns && ok; ++k) {
        const ino_t before = inode();
        const auto start = Clock::now();
        ok = ExitCode(Spawn(tessara, {"/i", "a.kvx", "/o", "out.kvx"}, resident), &cpu) == 0;
        const auto exited = Clock::now();
        handOverCpu.push_back(cpu);
        ok = ok && WaitFor([&] { return inode() != before; }, 10);
        const auto written = Clock::now();
        handOver.push_back(Ms(start, exited));
        result.push_back(Ms(start, written));

        const auto bareStart = Clock::now();
        ok = ok && ExitCode(Spawn(tessara, {"/quit"}, bare), &cpu) == 251;
        bareLaunch.push_back(Ms(bareStart, Clock::now()));
        bareCpu.push_back(cpu);

        // The same line run by a launch of its own, with no instance.
        const auto plainStart = Clock::now();
        ok = ok && ExitCode(Spawn(tessara, {"/i", "a.kvx", "/o", "out.kvx"}, bare), &cpu) == 0;
        plain.push_back(Ms(plainStart, Clock::now()));
        plainCpu.push_back(cpu);

        // A hand-over that waits for its run.
        const auto syncStart = Clock::now();
        ok = ok && ExitCode(Spawn(tessara, {"/sync", "/i", "a.kvx", "/o", "out.kvx"}, resident)) == 0;
        synced.push_back(Ms(syncStart, Clock::now()));

        if (!bc.empty()) {
            ok = ok && ExitCode(Spawn(bc, {"-l", "a.bc"}, bare), &cpu) == 0;
            bcCpu.push_back(cpu);
        }
    }
    EndResident(instance);
    if (!ok) {
        std::printf("resident: latency: a launch failed or its output never came\n");
        return false;
    }
    const double over = Median(handOver) - Median(bareLaunch);
    std::printf("resident: hand-over launch, median of %d: %.2f ms (target < 5 ms: %s)\n", kLatencyRuns,
                Median(handOver), Median(handOver) < 5 ? "met" : "MISSED");
    std::printf("resident: bare launch (/quit, no instance), median of %d: %.2f ms; hand-over costs %+.2f ms "
                "more (target <= 1.5 ms: %s)\n",
                kLatencyRuns, Median(bareLaunch), over, over <= 1.5 ? "met" : "MISSED");
    std::printf("resident: processor time of a launch, median of %d: hand-over %.2f ms, bare %.2f ms\n",
                kLatencyRuns, Median(handOverCpu), Median(bareCpu));
    std::printf("resident: output written after the launch started, median of %d: %.2f ms (target < 10 ms: %s)\n",
                kLatencyRuns, Median(result), Median(result) < 10 ? "met" : "MISSED");
    const double handOverShare = Median(handOver) / Median(plain);
    const double syncShare = Median(synced) / Median(plain);
    std::printf("resident: plain one-line run, median of %d: %.2f ms; hand-over %.2fx of it (target <= 0.6x: %s), "
                "hand-over with /sync %.2f ms, %.2fx of it (target <= 1.2x: %s)\n",
                kLatencyRuns, Median(plain), handOverShare, handOverShare <= 0.6 ? "met" : "MISSED", Median(synced),
                syncShare, syncShare <= 1.2 ? "met" : "MISSED");
    if (bc.empty()) {
        std::printf("resident: plain one-line run against bc -l: skipped (no /usr/bin/bc)\n");
    } else {
        const double bcShare = Median(plainCpu) / Median(bcCpu);
        std::printf("resident: processor time of a plain one-line run, median of %d: %.2f ms, bc -l on one line "
                    "%.2f ms: %.2fx (target <= 2x: %s)\n",
                    kLatencyRuns, Median(plainCpu), Median(bcCpu), bcShare, bcShare <= 2 ? "met" : "MISSED");
    }
    return true;
}

// Launcher l hands over its lines from..to-1, each appending "''l-k'" to its
// own file. Returns the number of launches that did not end with 0.
int Launch(const std::string& tessara, const Place& place, int l, int from, int to) {
    int failed = 0;
    for (int k = from; k < to; ++k) {
        const std::string mark = "/sel:''" + std::to_string(l) + "-" + std::to_string(k) + "'/";
        if (ExitCode(Spawn(tessara, {mark, "/a", "soak" + std::to_string(l) + ".kvx"}, place)) != 0) ++failed;
    }
    return failed;
}

// The share of the first `count` lines that launcher l hands over.
int Share(int count, int l) { return count / kLaunchers + (l < count % kLaunchers ? 1 : 0); }

// True when launcher l's file holds marks 0..count-1, each once, in order.
bool InOrder(const Place& place, int l, int count) {
    const std::string text = ReadText(place.folder / ("soak" + std::to_string(l) + ".kvx"));
    static const std::regex mark("''(\\d+)-(\\d+)'");
    int next = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), mark); it != std::sregex_iterator(); ++it) {
        if (std::stoi((*it)[1]) != l || std::stoi((*it)[2]) != next) return false;
        ++next;
    }
    return next == count;
}

// Runs every launcher over its share from the first `from` lines to the
// first `to`, then waits until the instance has run them all.
bool SoakPhase(const std::string& tessara, const Place& place, int from, int to, std::atomic<int>& failed) {
    std::vector<std::thread> launchers;
    for (int l = 0; l < kLaunchers; ++l) {
        launchers.emplace_back([&, l] { failed += Launch(tessara, place, l, Share(from, l), Share(to, l)); });
    }
    for (auto& t : launchers) t.join();
    return WaitFor(
        [&] {
            for (int l = 0; l < kLaunchers; ++l) {
                if (!InOrder(place, l, Share(to, l))) return false;
            }
            return true;
        },
        120);
}

bool Soak(const std::string& tessara, const fs::path& root) {
    const Place place = MakePlace(root / "soak");
    const pid_t instance = StartResident(tessara, place, {"/tsr", "/i", "a.kvx", "/o", "first.kvx"});
    if (instance < 0) {
        std::printf("resident: soak: the resident instance did not start\n");
        return false;
    }
    std::atomic<int> failed = 0;
    const auto start = Clock::now();
    const bool first = SoakPhase(tessara, place, 0, kSoakFirst, failed);
    const long firstKiB = ResidentKiB(instance);
    const bool all = first && SoakPhase(tessara, place, kSoakFirst, kSoakHandOvers, failed);
    const double seconds = Ms(start, Clock::now()) / 1000;
    const long lastKiB = ResidentKiB(instance);
    EndResident(instance);
    std::printf("resident: soak: %d hand-overs from %d launchers in %.1f s; %d launches failed; every output "
                "written once and in order per launcher: %s\n",
                kSoakHandOvers, kLaunchers, seconds, failed.load(), all ? "yes" : "NO");
    const double growth = 100.0 * static_cast<double>(lastKiB - firstKiB) / static_cast<double>(firstKiB);
    std::printf("resident: soak: resident memory %ld KiB after the first %d, %ld KiB after all: %+.1f %% "
                "(target within 10 %%: %s)\n",
                firstKiB, kSoakFirst, lastKiB, growth, growth <= 10 ? "met" : "MISSED");
    return all && failed == 0;
}

// The processor share of one core that an instance waiting kIdleSeconds used.
double IdleShare(const std::string& tessara, const Place& place, const std::vector<std::string>& args) {
    const pid_t instance = StartResident(tessara, place, args);
    if (instance < 0) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the end of the first run
    const double before = CpuSeconds(instance);
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    const double used = CpuSeconds(instance) - before;
    EndResident(instance);
    return 100 * used / kIdleSeconds;
}

// Starts Xvfb on a free display; returns its pid and sets display, or -1.
pid_t StartXvfb(const Place& place, std::string& display) {
    int numberPipe[2];
    if (pipe(numberPipe) != 0) return -1;
    const pid_t pid = Spawn("/usr/bin/Xvfb", {"-displayfd", "3", "-nolisten", "tcp"}, place, numberPipe[1]);
    close(numberPipe[1]);
    char number[16] = {};
    const ssize_t got = pid > 0 ? read(numberPipe[0], number, sizeof number - 1) : -1;
    close(numberPipe[0]);
    if (got <= 0) {
        if (pid > 0) EndResident(pid);
        return -1;
    }
    display = ":" + std::string(number, std::strcspn(number, "\n"));
    return pid;
}

bool Idle(const std::string& tessara, const fs::path& root) {
    const double plain = IdleShare(tessara, MakePlace(root / "idle"), {"/tsr", "/i", "a.kvx", "/o", "out.kvx"});
    std::printf("resident: idle %d s, /tsr: %.2f %% of one core (target < 1 %%: %s)\n", kIdleSeconds, plain,
                plain >= 0 && plain < 1 ? "met" : "MISSED");
    std::string display;
    const pid_t xvfb = fs::exists("/usr/bin/Xvfb") ? StartXvfb(MakePlace(root / "xvfb"), display) : -1;
    if (xvfb < 0) {
        std::printf("resident: idle with /gclp: skipped (no Xvfb)\n");
        return plain >= 0;
    }
    const double watching = IdleShare(tessara, MakePlace(root / "idle-gclp", display), {"/tsr", "/gclp", "/o", "out.kvx"});
    EndResident(xvfb);
    std::printf("resident: idle %d s, /tsr /gclp on Xvfb: %.2f %% of one core (target < 1 %%: %s)\n", kIdleSeconds,
                watching, watching >= 0 && watching < 1 ? "met" : "MISSED");
    return plain >= 0 && watching >= 0;
}

} // namespace

// Without arguments every part runs; else only those named (latency, soak, idle).
int main(int argc, char** argv) {
    const std::vector<std::string> parts(argv + 1, argv + argc);
    const auto wanted = [&](const char* part) {
        return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
    };
    const fs::path binFolder = fs::read_symlink("/proc/self/exe").parent_path();
    const std::string tessara = (binFolder / "tessara").string();
    const fs::path root = fs::temp_directory_path() / ("tessara-bench-resident-" + std::to_string(getpid()));
    bool ok = true;
    if (wanted("latency")) ok = Latency(tessara, root) && ok;
    if (wanted("soak")) ok = Soak(tessara, root) && ok;
    if (wanted("idle")) ok = Idle(tessara, root) && ok;
    fs::remove_all(root);
    return ok ? 0 : 1;
}
