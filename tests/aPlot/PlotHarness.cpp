#include "PlotHarness.h"

#include <filesystem>

#include "aPlot/PlotWindows.h"

KalvexApi PlotTest::kx;

void PlotTest::SetUpTestSuite() {
    std::string problem;
    ASSERT_TRUE(BindKalvex(kx, problem)) << "libKalvex.so: " << problem;
}

void PlotTest::SetUp() {
    kx.ReSetEqParser();
    folder_ = std::make_unique<TempDir>();
    startDir = folder_->path() + "/";
    previousFolder_ = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_->path());
}

void PlotTest::TearDown() {
    ClosePlotWindows(plots);
    std::filesystem::current_path(previousFolder_);
    folder_.reset();
}

ProcessResult PlotTest::Run(const std::string& script) { return ProcessScript(script, env); }
