#include "aPlot/PlotModel.h"

void SetPlotIdentifiers(PlotRecord& record, std::int32_t k) {
    const std::int32_t base = 10 * k + 110;
    record.windowId = base;
    record.imageId = base + 1;
    record.redrawId = base + 2;
    record.closeId = base + 3;
    record.fromLabelId = base + 4;
    record.fromFieldId = base + 5;
    record.toLabelId = base + 6;
    record.toFieldId = base + 7;
}
