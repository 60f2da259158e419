#include "StatementsHarness.h"

#include <cstdlib>

void StatementsTest::SetUpTestSuite() {
    // Message boxes of failed file statements go to standard error instead of
    // waiting for a click.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ScriptFixture::SetUpTestSuite();
}

void StatementsTest::SetUp() {
    ScriptFixture::SetUp();
    kx.aElemOrderSet(0);
}

void StatementsTest::TearDown() {
    kx.SetDebugF(0);
    ScriptFixture::TearDown();
}
