#include "platform/ToolProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// In the child between fork and exec: only async-signal-safe calls.
// The tool gets the signal mask the process had before SIGPIPE was blocked.
[[noreturn]] void ExecTool(const std::string& path, char* const argv[], int input, int output, int nullFd,
                           const sigset_t& mask) {
    ::sigprocmask(SIG_SETMASK, &mask, nullptr);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output, STDOUT_FILENO);
    ::dup2(nullFd, STDERR_FILENO);
    ::close_range(3, ~0U, 0);
    ::execv(path.c_str(), argv);
    ::_exit(127);
}

// Feeds input to toTool and collects fromTool until both are done or the
// deadline passes. Returns false on time-out.
bool Exchange(int& toTool, int& fromTool, const std::string& input, std::string& output,
              Clock::time_point deadline) {
    std::size_t written = 0;
    if (input.empty()) CloseFd(toTool);
    while (toTool >= 0 || fromTool >= 0) {
        pollfd fds[2] = {{toTool, POLLOUT, 0}, {fromTool, POLLIN, 0}};
        const int ready = ::poll(fds, 2, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        if (fds[0].revents != 0) {
            const ssize_t n = ::write(toTool, input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
            // A tool that stops reading gets no more; its exit status tells the rest.
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) CloseFd(toTool);
        }
        if (fds[1].revents != 0) {
            char chunk[8192];
            const ssize_t n = ::read(fromTool, chunk, sizeof chunk);
            if (n > 0) output.append(chunk, static_cast<std::size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR)) CloseFd(fromTool);
        }
    }
    return true;
}

// Waits for the tool to end; kills it at the deadline.
bool WaitForExit(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR) return false;
        if (MillisecondsLeft(deadline) == 0) break;
        const timespec pause{0, 2'000'000};
        ::nanosleep(&pause, nullptr);
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}

} // namespace

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const auto colon = folders.find(':', start);
        const std::size_t length = colon == std::string::npos ? std::string::npos : colon - start;
        // An empty entry names the current folder.
        const std::string candidate =
            (length == 0 ? std::string(".") : folders.substr(start, length)) + "/" + program;
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (colon == std::string::npos) return "";
        start = colon + 1;
    }
}

ToolResult RunTool(const std::string& path, const std::vector<std::string>& args,
                   const std::string& input, bool captureOutput, int timeoutMs) {
    ToolResult result;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int inputPipe[2] = {-1, -1};
    int outputPipe[2] = {-1, -1};
    int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nullFd < 0 || ::pipe2(inputPipe, O_CLOEXEC) != 0 ||
        (captureOutput && ::pipe2(outputPipe, O_CLOEXEC) != 0)) {
        for (int* fd : {&nullFd, &inputPipe[0], &inputPipe[1], &outputPipe[0], &outputPipe[1]}) CloseFd(*fd);
        return result;
    }
    // A tool that ends before reading all input must not end us with SIGPIPE.
    sigset_t pipeSignal;
    sigset_t savedMask;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::sigprocmask(SIG_BLOCK, &pipeSignal, &savedMask);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ExecTool(path, argv.data(), inputPipe[0], captureOutput ? outputPipe[1] : nullFd, nullFd, savedMask);
    }
    CloseFd(nullFd);
    CloseFd(inputPipe[0]);
    CloseFd(outputPipe[1]);
    if (pid > 0) {
        ::fcntl(inputPipe[1], F_SETFL, O_NONBLOCK);
        const bool exchanged = Exchange(inputPipe[1], outputPipe[0], input, result.output, deadline);
        CloseFd(inputPipe[1]);
        CloseFd(outputPipe[0]);
        result.succeeded = WaitForExit(pid, exchanged ? deadline : Clock::now()) && exchanged;
    }
    CloseFd(inputPipe[1]);
    CloseFd(outputPipe[0]);

    // Drop a SIGPIPE raised by our writes before the old mask is restored.
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE) == 1) {
        const timespec now{0, 0};
        ::sigtimedwait(&pipeSignal, nullptr, &now);
    }
    ::sigprocmask(SIG_SETMASK, &savedMask, nullptr);
    if (!result.succeeded) result.output.clear();
    return result;
}
