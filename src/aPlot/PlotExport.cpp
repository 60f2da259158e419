#include "aPlot/PlotExport.h"

#include <charconv>
#include <cstdio>

#include "AuxFunct/ResolvePath.h"
#include "aPlot/Sampling.h"
#include "platform/Clipboard.h"
#include "platform/FileContent.h"
#include "platform/ImageCodecs.h"
#include "platform/MessageBox.h"
#include "platform/PlatformConventions.h"
#include "platform/PlotWindow.h"

namespace {

constexpr int kJpegQuality = 70;

} // namespace

std::string SampleTableText(const PlotState& plots) {
    std::string table = "Id\tX\tY\r\n";
    // About 34 bytes a line for ten-decimal values.
    table.reserve(table.size() + plots.sampleX.size() * 34);
    for (std::size_t i = 0; i < plots.sampleX.size(); ++i) {
        if (!plots.sampleValid[i]) continue;
        char id[24];
        table.append(id, std::to_chars(id, id + sizeof id, i).ptr);
        table += '\t';
        AppendCoordinateText(table, plots.sampleX[i]);
        table += '\t';
        AppendCoordinateText(table, plots.sampleY[i]);
        table += "\r\n";
    }
    return table;
}

void WriteSampleTable(const PlotState& plots, const std::string& fileName, const std::string& folder) {
    const std::string target = fileName.starts_with(kPathSeparator) ? fileName : folder + fileName;
    if (!WriteFileSafely(target, SampleTableText(plots), false))
        ShowMessageBox("Tessara", "Error: can't write the file.\r\n" + target);
}

std::string ScreenshotFileName(const std::string& splPath, std::int32_t& screenshotCounter) {
    if (splPath.empty()) return "";
    ++screenshotCounter;
    char number[16];
    std::snprintf(number, sizeof number, "%02d", static_cast<int>(screenshotCounter));
    std::string folder = splPath == "0" || splPath == "-1" ? CurrentFolder() : splPath;
    if (!folder.empty() && folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder + "aPlotNr_" + number + ".jpg";
}

void SavePlotScreenshot(PlotState& plots, int k, const std::string& splPath) {
    const RgbImage picture = CapturePlotWindow(plots.plotTable[static_cast<std::size_t>(k)].windowId);
    if (picture.Empty()) return;
    ClipboardSetPicture(picture);
    const std::string file = ScreenshotFileName(splPath, plots.screenshotCounter);
    if (file.empty()) return;
    const std::string jpeg = EncodeJpeg(picture, kJpegQuality);
    if (!jpeg.empty()) WriteFileSafely(file, jpeg, false);
}
