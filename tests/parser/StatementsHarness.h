// The statement tests' fixture: a script environment without a display, so
// that message boxes of failed file statements go to standard error.
#pragma once

#include "ScriptFixture.h"

class StatementsTest : public ScriptFixture {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
};
