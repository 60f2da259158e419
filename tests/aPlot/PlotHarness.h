// The plot tests' fixture: a script environment whose plot windows are
// closed after each test.
#pragma once

#include "ScriptFixture.h"

class PlotTest : public ScriptFixture {
protected:
    void TearDown() override;

    const PlotRecord& Plot(int k) const { return plots.plotTable[static_cast<std::size_t>(k)]; }
};
