#include "StatementsHarness.h"

#include <cstdlib>
#include <filesystem>

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
    folder_ = std::make_unique<TempDir>();
    previousFolder_ = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_->path());
}

void StatementsTest::TearDown() {
    kx.SetDebugF(0);
    std::filesystem::current_path(previousFolder_);
    folder_.reset();
}

ProcessResult StatementsTest::Run(const std::string& script) { return ProcessScript(script, env); }
