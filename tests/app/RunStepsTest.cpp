#include <gtest/gtest.h>

#include <filesystem>

#include "RunTessara.h"
#include "app/CommandLine.h"
#include "app/RunSteps.h"

namespace fs = std::filesystem;

namespace {

TEST(RunSteps, CompletionLine) {
    EXPECT_EQ(CompletionLine(1, false), "   1: Command Line Executed.");
    EXPECT_EQ(CompletionLine(12, true), "  12: Command Line Executed. Waiting for further messages.");
    EXPECT_EQ(CompletionLine(10000, false), "1000: Command Line Executed.");
}

TEST(RunSteps, NormalisePlotPath) {
    TempDir dir;
    fs::create_directories(dir.file("shots"));
    const std::pair<std::string, std::string> cases[] = {
        {"", "0"},
        {"0", "0"},
        {"-1", "0"},
        {"spl", ""},
        {"C:\\plots\\", "C:\\plots\\"},
        {"C:\\plots", "C:\\"},
        {dir.file("shots"), dir.file("shots/")},
        {dir.file("shots/"), dir.file("shots/")},
        {dir.file("missing"), dir.path() + "/"},
        {dir.file("missing/"), dir.file("missing/")},
    };
    for (const auto& [given, expected] : cases) EXPECT_EQ(NormalisePlotPath(given), expected) << given;
}

// A resident process prepares every run: a path made empty (clipboard only)
// stays empty, while a path that a new option sets is prepared again.
TEST(RunSteps, PlotPathPreparationIsIdempotent) {
    TempDir dir;
    ProcessState ps;
    ps.settingsPath = dir.file("Tessara.INI");
    ps.run.startDir = dir.path() + "/";
    const auto parseAndPrepare = [&ps](const std::string& cmdLn) {
        ps.run.CmdLn = cmdLn;
        ParseCommandLine(ps.opt, ps.run, ps.log, ps.kx, ps.settingsPath);
        PrepareRun(ps);
        return ps.opt.splPath;
    };
    EXPECT_EQ(parseAndPrepare("/spl"), "");
    EXPECT_EQ(parseAndPrepare("/noh"), "");
    EXPECT_EQ(parseAndPrepare("/spl:"), "0");
    EXPECT_EQ(parseAndPrepare("/noh"), "0");
}

TEST(RunSteps, DeletesOnlyThisProgramsScreenshots) {
    TempDir dir;
    for (const char* name : {"aPlotNr_1.jpg", "aPlotNr_22.jpg", "aPlotNr_.jpg", "aPlotNr_x.jpg", "photo.jpg",
                             "aPlotNr_3.jpeg"})
        WriteFileBytes(dir.file(name), "x");
    fs::create_directories(dir.file("aPlotNr_4.jpg"));
    DeletePlotScreenshots(dir.path() + "/");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"aPlotNr_.jpg", "aPlotNr_3.jpeg", "aPlotNr_4.jpg", "aPlotNr_x.jpg",
                                              "photo.jpg"}));
    DeletePlotScreenshots(dir.file("missing/")); // a missing folder is no error
}

} // namespace
