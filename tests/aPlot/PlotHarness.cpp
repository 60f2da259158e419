#include "PlotHarness.h"

#include "aPlot/PlotWindows.h"

void PlotTest::TearDown() {
    ClosePlotWindows(plots);
    ScriptFixture::TearDown();
}
