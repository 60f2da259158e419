// Runs script texts through the scanner and the statement handlers against
// the real numeric library, in a private temporary folder that is the current
// folder and the start folder of each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "AuxFunct/LogWriter.h"
#include "RunTessara.h"
#include "AuxFunct/OptionState.h"
#include "aPlot/PlotModel.h"
#include "bindings/KalvexApi.h"
#include "parser/ProcessScript.h"

class ScriptFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Processes script (lines joined with CR LF) and returns the processed text.
    ProcessResult Run(const std::string& script) { return ProcessScript(script, env); }
    // A path inside the test's temporary folder.
    std::string Path(const std::string& name) const { return folder_->file(name); }

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
