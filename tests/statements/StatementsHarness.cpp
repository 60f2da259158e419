#include "StatementsHarness.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

KalvexApi StatementsTest::kx;

void StatementsTest::SetUpTestSuite() {
    // Message boxes of failed file statements go to standard error instead of
    // waiting for a click.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::string problem;
    ASSERT_TRUE(BindKalvex(kx, problem)) << "libKalvex.so: " << problem;
}

void StatementsTest::SetUp() {
    kx.ReSetEqParser();
    kx.aElemOrderSet(0);
    std::string pattern = (std::filesystem::temp_directory_path() / "tessara-stmts-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    previousFolder_ = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_);
}

void StatementsTest::TearDown() {
    kx.SetDebugF(0);
    std::filesystem::current_path(previousFolder_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

ProcessResult StatementsTest::Run(const std::string& script) { return ProcessScript(script, env); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
