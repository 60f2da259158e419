// The plot model: one record per plot statement of the current run, the
// sample arrays of the plot sampled last, and the counters that live for the
// process. One instance is owned by the process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KalvexApi;

struct PlotRecord {
    // Identifiers of the window and its controls: 10 * k + 110 ... + 117.
    // windowId is 0 once the window is closed.
    std::int32_t windowId = 0;
    std::int32_t imageId = 0;
    std::int32_t redrawId = 0;
    std::int32_t closeId = 0;
    std::int32_t fromLabelId = 0;
    std::int32_t fromFieldId = 0;
    std::int32_t toLabelId = 0;
    std::int32_t toFieldId = 0;
    std::string expression; // trimmed, case kept
    std::string variable;   // trimmed, lower case
    double rangeFrom = 0;
    double rangeTo = 0;
    std::int32_t intervals = 0;
    // Extents of the valid samples of the last sampling, and the drawing origin.
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double xOrigin = 0, yOrigin = 0;
};

struct PlotState {
    // Entry k is plot k of the current run; entry 0 is never used. The table
    // grows by one entry per plot statement and is never shrunk.
    std::vector<PlotRecord> plotTable{1};
    std::int32_t plotCount = 0;
    // The samples of the plot sampled last: n + 1 entries; sampleValid[i] is 0
    // where the evaluation failed or gave no finite number.
    std::vector<double> sampleX, sampleY;
    std::vector<std::uint8_t> sampleValid;
    std::int32_t screenshotCounter = 0; // sequential screenshot names of the process
    std::string lastReadout;            // last coordinate text shown, shared by all windows
    bool headlessNoted = false;         // the run said once that its plots are not shown
    const KalvexApi* kx = nullptr;      // the library, for resampling on window events
};

// The identifiers of plot k, set in its record.
void SetPlotIdentifiers(PlotRecord& record, std::int32_t k);
