// Tessara.exe and Kalvex.dll as Windows programs see them, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "FileBytes.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().string() + "\\";
}

// A fresh folder with a blank in its name, removed with its content.
class Folder {
public:
    Folder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int count = 0;
        path_ = std::string(temp) + "tessara test " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++count) + "\\";
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Waits up to timeoutMs for test to hold, checking every 10 ms.
template <typename Test> bool WaitUntil(Test test, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!test()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Tessara.exe (the built one, or program) started with arguments (the
// command line after the program name, as typed) in folder.
class Process {
public:
    Process(const std::string& arguments, const std::string& folder, const std::string& program = "") {
        std::string line = "\"" + (program.empty() ? ProgramFolder() + "Tessara.exe" : program) + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                  &startup, &info_) != 0;
        if (started_) CloseHandle(info_.hThread);
    }
    ~Process() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
    }
    // The exit code, or 1000 when the process has not ended within timeoutMs.
    long Wait(DWORD timeoutMs) {
        if (!started_ || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return 1000;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(static_cast<LONG>(code));
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

long RunTessara(const std::string& arguments, const std::string& folder) { return Process(arguments, folder).Wait(60000); }

const char* const kScript = "expr = 1 + 2\r\nexpr = sqrt(16)\r\n";

TEST(WindowsRun, PathsWithBlanksAndBackslashes) {
    Folder dir;
    fs::create_directories(dir.path() + "my scripts");
    const std::string script = dir.path() + "my scripts\\a.kvx";
    WriteFileBytes(script, kScript);
    // An absolute name with blanks, and the default output beside the input.
    ASSERT_EQ(RunTessara("/i " + script + " /o", dir.path()), 0);
    const std::string result = ReadFileBytes(dir.path() + "my scripts\\Result.kvx");
    EXPECT_NE(result.find("'Input file: " + script + "\r\n"), std::string::npos) << result;
    EXPECT_NE(result.find("Result => Number = 3.0000\r\n"), std::string::npos) << result;
    EXPECT_NE(result.find("Result => Number = 4.0000\r\n"), std::string::npos) << result;
    // Names relative to the current folder resolve with "\".
    ASSERT_EQ(RunTessara("/i my scripts\\a.kvx /o out.kvx", dir.path()), 0);
    const std::string relative = ReadFileBytes(dir.path() + "out.kvx");
    EXPECT_NE(relative.find("'Input file: " + script + "\r\n"), std::string::npos) << relative;
}

TEST(WindowsRun, SettingsLiveInAppDataTessara) {
    Folder dir;
    WriteFileBytes(dir.path() + "a.kvx", kScript);
    const std::string appData = dir.path() + "roaming";
    fs::create_directories(appData);
    SetEnvironmentVariableA("APPDATA", appData.c_str());
    ASSERT_EQ(RunTessara("/i a.kvx /o out.kvx /dec:2", dir.path()), 0);
    const std::string ini = appData + "\\Tessara\\Tessara.INI";
    char stored[512] = {};
    GetPrivateProfileStringA("Tessara", "lastCmdLn", "", stored, sizeof stored, ini.c_str());
    EXPECT_EQ(std::string(stored).rfind("/i a.kvx /o out.kvx /dec:2", 0), 0u) << stored;
    // /rep runs the stored line again.
    fs::remove(dir.path() + "out.kvx");
    ASSERT_EQ(RunTessara("/rep", dir.path()), 0);
    EXPECT_NE(ReadFileBytes(dir.path() + "out.kvx").find("Result => Number = 3.00\r\n"), std::string::npos);
    SetEnvironmentVariableA("APPDATA", nullptr);
}

std::string FileVersion(const std::string& path) {
    DWORD ignored = 0;
    std::string data(GetFileVersionInfoSizeA(path.c_str(), &ignored), '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &size))
        return "";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

TEST(WindowsFiles, VersionResourcesMatchTheLibrary) {
    const std::string library = ProgramFolder() + "Kalvex.dll";
    HMODULE kalvex = LoadLibraryA(library.c_str());
    ASSERT_NE(kalvex, nullptr);
    using Version = const char* (*)();
    const auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(kalvex, "KalvexVersion")));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(FileVersion(library), version());
    EXPECT_EQ(FileVersion(ProgramFolder() + "Tessara.exe"), "1.0.0.0");
    FreeLibrary(kalvex);
}

// The run header names the release from the version resource of the
// Kalvex.dll beside the program, nothing when it has none.
TEST(WindowsFiles, RunHeaderNamesTheLibraryFileVersion) {
    const struct {
        std::string library;
        std::string line;
    } cases[] = {{ProgramFolder() + "Kalvex.dll", "'Uses library Kalvex.dll - rel. 1.0.0.0\r\n"},
                 {ProgramFolder() + "unversioned\\Kalvex.dll", "'Uses library Kalvex.dll - rel. \r\n"}};
    for (const auto& c : cases) {
        Folder dir;
        fs::copy_file(ProgramFolder() + "Tessara.exe", dir.path() + "Tessara.exe");
        fs::copy_file(c.library, dir.path() + "Kalvex.dll");
        WriteFileBytes(dir.path() + "a.kvx", kScript);
        ASSERT_EQ(Process("/i a.kvx /o out.kvx", dir.path(), dir.path() + "Tessara.exe").Wait(60000), 0);
        const std::string output = ReadFileBytes(dir.path() + "out.kvx");
        EXPECT_NE(output.find("\r\n\r\n" + c.line + "'---"), std::string::npos) << output;
    }
}

// The launcher of the resident window protocol: FindWindowA, FindWindowExA
// and SendMessageA(WM_SETTEXT), nothing else of Tessara.
HWND FindStatusControl() {
    const HWND window = FindWindowA("WindowClass_0", "Tessara TSR");
    return window != nullptr ? FindWindowExA(window, nullptr, "Static", nullptr) : nullptr;
}

bool HandOver(const std::string& line) {
    const HWND status = FindStatusControl();
    return status != nullptr && SendMessageA(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str())) == TRUE;
}

TEST(WindowsResident, LinesHandedOverRunOnceInOrder) {
    Folder dir;
    // A long first run: the lines after it arrive while it is busy.
    std::string longScript;
    for (int i = 0; i < 20000; ++i) longScript += "expr = " + std::to_string(i) + " * 2\r\n";
    WriteFileBytes(dir.path() + "long.kvx", longScript);
    WriteFileBytes(dir.path() + "a.kvx", kScript);

    Process resident("/tsr", dir.path());
    ASSERT_TRUE(WaitUntil([] { return FindStatusControl() != nullptr; }, 20000));
    char status[128] = {};
    GetWindowTextA(FindStatusControl(), status, sizeof status);
    EXPECT_STREQ(status, "kvx Script processor: waiting message");

    const std::string folder = dir.path();
    ASSERT_TRUE(HandOver("/i " + folder + "long.kvx /o " + folder + "long out.kvx"));
    for (const char* name : {"o1.kvx", "o2.kvx", "o3.kvx"})
        ASSERT_TRUE(HandOver("/i " + folder + "a.kvx /o " + folder + name)) << name;
    // A second Tessara.exe hands its own command line over and ends at once.
    EXPECT_EQ(RunTessara("/i " + folder + "a.kvx /o " + folder + "o4.kvx", folder), 0);
    // /quit waits for the lines queued before it.
    EXPECT_EQ(RunTessara("/quit", folder), -6);
    EXPECT_EQ(resident.Wait(20000), 0);
    EXPECT_EQ(FindWindowA("WindowClass_0", "Tessara TSR"), nullptr);

    EXPECT_NE(ReadFileBytes(folder + "long out.kvx").find("Result => Number = 39998.0000\r\n"), std::string::npos);
    for (const char* name : {"o1.kvx", "o2.kvx", "o3.kvx", "o4.kvx"}) {
        const std::string output = ReadFileBytes(folder + name);
        EXPECT_NE(output.find("Result => Number = 4.0000\r\n"), std::string::npos) << name;
    }
    // Each line ran once, after the one before it.
    const auto written = [&](const char* name) { return fs::last_write_time(folder + name); };
    EXPECT_LE(written("long out.kvx"), written("o1.kvx"));
    EXPECT_LE(written("o1.kvx"), written("o2.kvx"));
    EXPECT_LE(written("o3.kvx"), written("o4.kvx"));
}

TEST(WindowsResident, LauncherWithoutAnInstanceRunsItself) {
    Folder dir;
    WriteFileBytes(dir.path() + "a.kvx", kScript);
    ASSERT_EQ(FindWindowA("WindowClass_0", "Tessara TSR"), nullptr);
    EXPECT_EQ(RunTessara("/i a.kvx /o out.kvx", dir.path()), 0);
    EXPECT_NE(ReadFileBytes(dir.path() + "out.kvx").find("Result => Number = 3.0000\r\n"), std::string::npos);
}

} // namespace
