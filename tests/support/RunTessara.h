// Helpers for end-to-end tests: a private temporary folder and a run of the
// real tessara binary in it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it on destruction.
// XDG_CONFIG_HOME and XDG_RUNTIME_DIR of runs made through it point inside it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

struct RunResult {
    int exitCode = -1; // the low eight bits the shell sees; -1 when killed by a signal
    std::string out;   // standard output
    std::string err;   // standard error
};

struct RunOptions {
    std::string cwd;                         // working folder; empty: the TempDir
    std::map<std::string, std::string> env;  // added to (or replacing in) the environment
    std::vector<std::string> unsetEnv;       // removed from the environment
    std::string stdinText;                   // fed to standard input, then closed
    std::string stdoutFile;                  // standard output goes to this file; empty: captured
    bool keepDisplay = false;                // false: DISPLAY and WAYLAND_DISPLAY are removed
    int timeoutSeconds = 60;                 // killed after this long
    std::string program;                     // empty: the built tessara
};

// Runs tessara with args (each one process argument) in dir.
RunResult RunTessara(const TempDir& dir, const std::vector<std::string>& args,
                     const RunOptions& options = {});

// A tessara process started in the background; its standard output and
// error go to the files out and err, its standard input is an empty pipe
// that stays open (like an editor's) until the process is waited for.
struct Background {
    int pid = -1;
    std::string out;
    std::string err;
    int stdinFd = -1;
};

// Starts tessara with args in dir (the environment of RunTessara);
// name distinguishes the output files of several processes.
Background StartTessara(const TempDir& dir, const std::vector<std::string>& args, const std::string& name,
                        const RunOptions& options = {});

// Waits up to timeoutMs for the process to end and returns its exit code
// (the low eight bits; -1 when a signal ended it). A process still running
// then is killed by its pid and -2 is returned.
int WaitForExit(Background& process, int timeoutMs);

// Waits up to timeoutMs for test to hold, checking every 5 ms.
bool WaitUntil(const std::function<bool()>& test, int timeoutMs);

// The standard output of a shell command, whatever its exit status.
std::string Shell(const std::string& command);

// Runs a shell command with input on its standard input; returns its
// standard output, or "<failed>" when it did not succeed.
std::string ShellOutput(const std::string& command, const std::string& input = "");

// The clipboard through xclip, as another program of the desktop sees it.
void SetClipboard(const std::string& text);
std::string GetClipboard();

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Replaces every "dd/mm/yyyy - hh:ii:ss" time stamp with "DD/MM/YYYY - hh:mm:ss",
// so that outputs can be compared byte for byte.
std::string MaskRunTime(const std::string& text);

// The path of the built tessara binary and of the folder holding it and libKalvex.so.
std::string TessaraBinary();
std::string BinaryFolder();
