// What a plot leaves behind: the point table file and the screenshot of its
// window (clipboard picture and JPEG file).
#pragma once

#include <string>

#include "aPlot/PlotModel.h"

// The point table of the samples just taken: "Id\tX\tY", then one line
// "i\tx\ty" per valid sample, ten decimals tidied, every line ending in CR LF.
std::string SampleTableText(const PlotState& plots);

// Writes the point table to fileName (a name starting with "/" as it is,
// otherwise folder + fileName) through the safe writer, so that a failed
// write leaves an older file intact; a failure shows the box "Tessara" with
// "Error: can't write the file." + CR LF + the target name.
void WriteSampleTable(const PlotState& plots, const std::string& fileName, const std::string& folder);

// The screenshot file for splPath: "" for an empty path (clipboard only);
// otherwise "aPlotNr_" + the next counter value (at least two digits) + ".jpg"
// in the current folder for "0" and "-1", or in the folder splPath names.
std::string ScreenshotFileName(const std::string& splPath, std::int32_t& screenshotCounter);

// Captures plot k's whole window, puts the picture on the clipboard as PNG
// and, unless splPath is empty, saves it as a JPEG file (quality 70). Nothing
// happens when the window is not open or cannot be captured.
void SavePlotScreenshot(PlotState& plots, int k, const std::string& splPath);
