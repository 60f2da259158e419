#include "ScriptFixture.h"

#include <filesystem>

KalvexApi ScriptFixture::kx;

void ScriptFixture::SetUpTestSuite() {
    std::string problem;
    ASSERT_TRUE(BindKalvex(kx, problem)) << "libKalvex.so: " << problem;
}

void ScriptFixture::SetUp() {
    kx.ReSetEqParser();
    folder_ = std::make_unique<TempDir>();
    startDir = folder_->path() + "/";
    previousFolder_ = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_->path());
}

void ScriptFixture::TearDown() {
    std::filesystem::current_path(previousFolder_);
    folder_.reset();
}
