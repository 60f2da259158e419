#include "RunTessara.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

extern char** environ;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tessara-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make every folder writable again so that tests may leave read-only ones.
    for (auto it = fs::recursive_directory_iterator(path_, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

const std::string& WindowsTarget() {
    static const std::string folder = [] {
        const char* named = std::getenv("TESSARA_TEST_WINDOWS");
        return named == nullptr || *named == '\0' ? std::string() : fs::absolute(named).lexically_normal().string();
    }();
    return folder;
}

std::string ProgramFileName() { return WindowsTarget().empty() ? "tessara" : "Tessara.exe"; }
std::string LibraryFileName() { return WindowsTarget().empty() ? "libKalvex.so" : "Kalvex.dll"; }

std::string TessaraBinary() {
    return WindowsTarget().empty() ? std::string(TESSARA_BIN) : WindowsTarget() + "/bin/" + ProgramFileName();
}
std::string BinaryFolder() { return fs::path(TessaraBinary()).parent_path().string(); }

std::string FileErrorText(int error) {
    if (WindowsTarget().empty()) return std::strerror(error);
    switch (error) {
    case ENOENT: return "File not found";
    case EACCES:
    case EISDIR: return "Access denied";
    default: return "error " + std::to_string(error);
    }
}

std::string ProgramPath(const std::string& path) {
    if (WindowsTarget().empty()) return path;
    std::string text = path.starts_with('/') ? "Z:" + path : path;
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}


std::string Shell(const std::string& command) {
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, count);
    ::pclose(pipe);
    return output;
}

std::string ShellOutput(const std::string& command, const std::string& input) {
    TempDir scratch;
    WriteFileBytes(scratch.file("in"), input);
    const std::string full =
        "(" + command + ") < " + scratch.file("in") + " > " + scratch.file("out") + " 2>/dev/null";
    if (std::system(full.c_str()) != 0) return "<failed>";
    return ReadFileBytes(scratch.file("out"));
}

void SetClipboard(const std::string& text) { ShellOutput("xclip -selection clipboard -i", text); }
std::string GetClipboard() {
    const std::string text = ShellOutput("xclip -selection clipboard -o");
    if (WindowsTarget().empty() || text == "<failed>") return text;
    // Wine hands its clipboard text to X with LF line ends: the CR LF of the
    // Windows clipboard is put back.
    std::string windowsText;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) windowsText += '\r';
        windowsText += text[i];
    }
    return windowsText;
}

bool FileExists(const std::string& path) { return fs::exists(path); }

std::string MaskRunTime(const std::string& text) {
    static const std::regex stamp(R"(\d\d/\d\d/\d\d\d\d - \d\d:\d\d:\d\d)");
    return std::regex_replace(text, stamp, "DD/MM/YYYY - hh:mm:ss");
}

namespace {

// The Wine prefix (a folder in the Windows build) of runs with options o:
// the one the test program was given in TESSARA_WINE_PREFIX, else one of
// two. Wine's windows go to the display its server started with, so runs
// with a display have a prefix of their own (and run one display at a time).
std::string WinePrefix(const RunOptions& o) {
    const char* given = std::getenv("TESSARA_WINE_PREFIX");
    if (given != nullptr && *given != '\0') return given;
    return o.keepDisplay ? "wineprefix-display" : "wineprefix";
}

} // namespace

std::string SettingsFile(const TempDir& dir, const RunOptions& options) {
    if (WindowsTarget().empty()) return dir.file("config/tessara/Tessara.INI");
    const char* user = std::getenv("USER");
    return WindowsTarget() + "/" + WinePrefix(options) + "/drive_c/users/" + (user != nullptr ? user : "root") +
           "/AppData/Roaming/Tessara/Tessara.INI";
}

std::string FocusWindowCommand(const std::string& window) {
    return std::string(WindowsTarget().empty() ? "xdotool windowfocus --sync " : "xdotool windowactivate --sync ") +
           window;
}

bool ResidentListening(const TempDir& dir) {
    if (WindowsTarget().empty()) return FileExists(dir.file("runtime/tessara/tsr"));
    const std::string ids = ShellOutput("xdotool search --name '^Tessara TSR$'");
    return ids != "<failed>" && !ids.empty();
}

namespace {

std::vector<std::string> BuildEnvironment(const TempDir& dir, const RunOptions& o) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string kv = *e;
        auto eq = kv.find('=');
        if (eq != std::string::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    env["XDG_CONFIG_HOME"] = dir.path() + "/config";
    env["XDG_RUNTIME_DIR"] = dir.path() + "/runtime";
    fs::create_directories(dir.path() + "/runtime");
    fs::permissions(dir.path() + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
    if (!o.keepDisplay) {
        env.erase("DISPLAY");
        env.erase("WAYLAND_DISPLAY");
    }
    if (!WindowsTarget().empty()) env["TESSARA_WINE_PREFIX"] = WinePrefix(o);
    for (const auto& name : o.unsetEnv) env.erase(name);
    for (const auto& [k, v] : o.env) env[k] = v;
    std::vector<std::string> out;
    for (const auto& [k, v] : env) out.push_back(k + "=" + v);
    return out;
}

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// An absolute path of this system ("/tmp/x", but not an option such as
// "/i" or "/lns:1;2"): its first folder exists.
bool IsSystemPath(const std::string& text) {
    const std::size_t second = text.find('/', 1);
    if (!text.starts_with('/') || second == std::string::npos) return false;
    std::error_code ec;
    return fs::is_directory(text.substr(0, second), ec);
}

// An argument as the Windows program is to see it: a path, or the path of
// an option such as "/log:/tmp/x.log", on Wine's Z: drive.
std::string WindowsArgument(const std::string& argument) {
    if (IsSystemPath(argument)) return ProgramPath(argument);
    const std::size_t colon = argument.find(':');
    if (argument.starts_with('/') && colon != std::string::npos && IsSystemPath(argument.substr(colon + 1)))
        return argument.substr(0, colon + 1) + ProgramPath(argument.substr(colon + 1));
    return argument;
}

// The process arguments that run program with args: a Windows program
// through scripts/wine-run.sh with the prefix of the Windows build under
// test. Wine quotes an argument that holds blanks, where the program's
// command line is the arguments joined by blanks as typed (as on Linux), so
// each word goes as an argument of its own.
std::vector<std::string> ProcessArguments(const std::string& program, const std::vector<std::string>& args) {
    if (!program.ends_with(".exe")) {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    std::vector<std::string> argv{TESSARA_WINE_RUN, WindowsTarget(), program};
    for (const auto& a : args) {
        std::istringstream words(WindowsArgument(a));
        for (std::string word; words >> word;) argv.push_back(word);
    }
    return argv;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

Background StartTessara(const TempDir& dir, const std::vector<std::string>& args, const std::string& name,
                        const RunOptions& o) {
    Background process;
    process.out = dir.file(name + ".out");
    process.err = dir.file(name + ".err");
    std::vector<std::string> argStrings = ProcessArguments(o.program.empty() ? TessaraBinary() : o.program, args);
    std::vector<std::string> envStrings = BuildEnvironment(dir, o);
    const std::vector<char*> argv = Pointers(argStrings);
    const std::vector<char*> envp = Pointers(envStrings);
    int inPipe[2];
    if (pipe(inPipe) != 0) throw std::runtime_error("pipe failed");
    const std::string cwd = o.cwd.empty() ? dir.path() : o.cwd;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        const int out = open(process.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(process.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        close_range(3, ~0U, 0);
        if (chdir(cwd.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    process.pid = pid;
    process.stdinFd = inPipe[1];
    return process;
}

int WaitForExit(Background& process, int timeoutMs) {
    if (process.pid <= 0) return -2;
    int status = 0;
    const bool ended = WaitUntil([&] { return waitpid(process.pid, &status, WNOHANG) == process.pid; }, timeoutMs);
    if (!ended) {
        kill(process.pid, SIGKILL);
        waitpid(process.pid, &status, 0);
    }
    process.pid = -1;
    if (process.stdinFd >= 0) close(process.stdinFd);
    process.stdinFd = -1;
    if (!ended) return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitUntil(const std::function<bool()>& test, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (test()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        usleep(5000);
    }
}

RunResult RunTessara(const TempDir& dir, const std::vector<std::string>& args, const RunOptions& o) {
    std::vector<std::string> argStrings = ProcessArguments(o.program.empty() ? TessaraBinary() : o.program, args);
    std::vector<std::string> envStrings = BuildEnvironment(dir, o);
    const std::vector<char*> argv = Pointers(argStrings);
    const std::vector<char*> envp = Pointers(envStrings);

    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) throw std::runtime_error("pipe failed");
    std::string cwd = o.cwd.empty() ? dir.path() : o.cwd;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        if (!o.stdoutFile.empty()) {
            int file = open(o.stdoutFile.c_str(), O_WRONLY);
            if (file < 0 || dup2(file, 1) < 0) _exit(125);
            close(file);
        }
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        if (chdir(cwd.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    signal(SIGPIPE, SIG_IGN);
    SetNonBlocking(inPipe[1]);
    SetNonBlocking(outPipe[0]);
    SetNonBlocking(errPipe[0]);

    RunResult r;
    std::size_t written = 0;
    int inFd = inPipe[1];
    if (o.stdinText.empty()) {
        close(inFd);
        inFd = -1;
    }
    bool outOpen = true, errOpen = true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(o.timeoutSeconds);
    char buf[65536];
    while (outOpen || errOpen) {
        pollfd fds[3];
        int n = 0;
        if (outOpen) fds[n++] = {outPipe[0], POLLIN, 0};
        if (errOpen) fds[n++] = {errPipe[0], POLLIN, 0};
        if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        poll(fds, static_cast<nfds_t>(n), 100);
        for (int k = 0; k < n; ++k) {
            if (!fds[k].revents) continue;
            if (fds[k].fd == inFd) {
                ssize_t w = write(inFd, o.stdinText.data() + written, o.stdinText.size() - written);
                if (w > 0) written += static_cast<std::size_t>(w);
                if (w < 0 || written == o.stdinText.size()) {
                    close(inFd);
                    inFd = -1;
                }
                continue;
            }
            ssize_t got = read(fds[k].fd, buf, sizeof buf);
            if (got > 0) {
                (fds[k].fd == outPipe[0] ? r.out : r.err).append(buf, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EAGAIN) {
                if (fds[k].fd == outPipe[0]) outOpen = false;
                else errOpen = false;
            }
        }
    }
    if (inFd >= 0) close(inFd);
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
