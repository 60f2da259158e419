// Helpers for end-to-end tests: a private temporary folder and a run of the
// real tessara binary in it.
//
// The program under test is the Linux build, or the Windows build when the
// environment names one: TESSARA_TEST_WINDOWS=<Windows build folder> runs
// <folder>/bin/Tessara.exe under Wine (scripts/wine-run.sh, the folder's
// private prefix). Arguments that are absolute paths of this system are
// then passed as the program sees them ("Z:\tmp\...", also after an
// option's ":"); ProgramPath gives the text the program writes for a path,
// FileErrorText its words for a failed file operation. Cases that cannot hold on
// Windows say so with SKIP_ON_WINDOWS.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FileBytes.h"

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
    bool keepDisplay = false;                // false: DISPLAY and WAYLAND_DISPLAY are removed;
                                             // true on Windows: the Wine prefix wineprefix-display
                                             // (unless the test program was given TESSARA_WINE_PREFIX)
    int timeoutSeconds = 60;                 // killed after this long
    std::string program;                     // empty: the program under test; a ".exe" runs under Wine
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

// The clipboard through xclip, as another program of the desktop sees it;
// under Wine, whose text reaches X with LF line ends, GetClipboard gives the
// text with the CR LF that the Windows clipboard holds.
void SetClipboard(const std::string& text);
std::string GetClipboard();

bool FileExists(const std::string& path);

// Replaces every "dd/mm/yyyy - hh:ii:ss" time stamp with "DD/MM/YYYY - hh:mm:ss",
// so that outputs can be compared byte for byte.
std::string MaskRunTime(const std::string& text);

// The path of the program under test and of the folder holding it and its
// library (libKalvex.so, or Kalvex.dll beside Tessara.exe).
std::string TessaraBinary();
std::string BinaryFolder();

// The Windows build folder under test, empty for the Linux build.
const std::string& WindowsTarget();

// The file names of the program and of its library on the platform under test.
std::string ProgramFileName();
std::string LibraryFileName();

// The text the program under test writes for path: unchanged on Linux; on
// Windows with "\" separators, an absolute path on Wine's Z: drive.
std::string ProgramPath(const std::string& path);

// The settings file "Tessara.INI" that runs made through dir with options
// use: in the folder's XDG_CONFIG_HOME on Linux, in the %APPDATA% of the Wine
// prefix that such runs use on Windows.
std::string SettingsFile(const TempDir& dir, const RunOptions& options = {});

// A shell command that gives the keyboard to the window whose id is window
// (a number, or a shell variable such as "$W"). Wine takes keys only for
// the active window, which the window manager of its tests makes.
std::string FocusWindowCommand(const std::string& window);

// True while a resident instance started through dir takes command lines:
// its mailbox socket exists (Linux), or its window "Tessara TSR" is on the
// display (Windows, where only the visible window of /tsrv can be seen).
bool ResidentListening(const TempDir& dir);

// The program's wording of a failed file operation with errno's error:
// the C library's text on Linux, the system's message text (as Wine words
// it) on Windows, where opening a folder is refused as access denied.
std::string FileErrorText(int error);

// Ends the current test as skipped when the program under test is the
// Windows build, with the reason the case cannot hold there.
#define SKIP_ON_WINDOWS(reason) \
    if (!WindowsTarget().empty()) GTEST_SKIP() << "not on Windows: " << (reason)
