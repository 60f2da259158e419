// Plot windows of the Windows build: not there yet.
#include "platform/win32/gui/WindowsGui.h"

namespace win32gui {

void SetPlotWindowEventHandler(std::function<void(const PlotWindowEvent&)>) {}
bool CreatePlotWindow(int, const std::string&, const WindowRect&) { return false; }
void DestroyPlotWindow(int) {}
bool PlotWindowRect(int, WindowRect&) { return false; }
bool PlotWindowClientSize(int, int&, int&) { return false; }
int PlotWindowFrameHeight(int) { return 0; }
int DesktopWidth() { return 0; }
void ShowPlotImage(int, const RgbImage&) {}
void SetPlotFields(int, const std::string&, const std::string&) {}
void SetPlotTooltip(int, const std::string&) {}
RgbImage CapturePlotWindow(int) { return {}; }
std::string PlotWindowTooltip(int) { return {}; }
std::string PlotWindowField(int, bool) { return {}; }
RgbImage PlotWindowImage(int) { return {}; }
WindowRect PlotControlRect(int, int) { return {}; }

} // namespace win32gui
