// Runs script texts through the scanner and the statement handlers against
// the real numeric library, in a private temporary folder that is the current
// folder and the start folder of each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "RunTessara.h"
#include "ScriptRecords.h"
#include "parser/ProcessScript.h"

class ScriptFixture : public ::testing::Test, protected ScriptRecords {
protected:
    ScriptFixture() : ScriptRecords(kx) {}
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Processes script (lines joined with CR LF) and returns the processed text.
    ProcessResult Run(const std::string& script) { return ProcessScript(script, env); }
    // A path inside the test's temporary folder.
    std::string Path(const std::string& name) const { return folder_->file(name); }

    static KalvexApi kx;

private:
    std::unique_ptr<TempDir> folder_;
    std::string previousFolder_;
};
