// Runs script texts with plot statements against the real numeric library,
// in a private temporary folder that is also the start folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "AuxFunct/LogWriter.h"
#include "RunTessara.h"
#include "aPlot/PlotModel.h"
#include "app/OptionState.h"
#include "bindings/KalvexApi.h"
#include "parser/ProcessScript.h"

class PlotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Processes the script (lines joined with CR LF).
    ProcessResult Run(const std::string& script);
    std::string Path(const std::string& name) const { return folder_->file(name); }
    const PlotRecord& Plot(int k) const { return plots.plotTable[static_cast<std::size_t>(k)]; }

    static KalvexApi kx;
    OptionState opt;
    std::int32_t exitCode = 0;
    LogState log;
    PlotState plots;
    std::string startDir;
    ScriptEnv env{kx, opt, exitCode, log, plots, startDir};

private:
    std::unique_ptr<TempDir> folder_;
    std::string previousFolder_;
};
