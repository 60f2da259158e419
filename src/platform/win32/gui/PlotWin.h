// What the plot windows of the Windows build share between their files:
// a window's record, its lookup and the painting of its picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PlotWindow.h"

// Controls by their offset from the window's identifier; the order of the
// tests' control numbers (PlotControlRect) is this one less one.
enum PlotControl { kPicture = 1, kRedraw, kClose, kFromLabel, kFromField, kToLabel, kToField, kControlCount };

struct PlotWin {
    int windowId = 0;
    HWND window = nullptr;
    HWND controls[kControlCount] = {};
    HWND tooltip = nullptr;
    std::string tooltipText;
    RgbImage picture;                 // as shown
    std::vector<std::uint32_t> pixels; // the same as 32-bit blue, green, red for GDI
    int width = 0;                    // the client size last laid out
    int height = 0;
};

// The record of the window with that identifier, or null.
PlotWin* FindPlotWindow(int windowId);

// The picture at the control's top-left corner, black where it does not reach.
void PaintPicture(const PlotWin& plot, HWND control, HDC dc);

// The window drawn by itself into dc, the parts WM_PRINT asks for.
void PrintPlotWindowItself(const PlotWin& plot, HDC dc, LPARAM parts);
