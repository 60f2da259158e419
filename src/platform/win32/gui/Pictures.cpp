// Pictures of the Windows build: not drawn yet.
#include "platform/win32/gui/WindowsGui.h"

namespace win32gui {

std::string EncodePng(const RgbImage&) { return {}; }
std::string EncodeJpeg(const RgbImage&, int) { return {}; }
CanvasSurface* OpenCanvas(int, int, Rgb) { return nullptr; }
int PlotTextHeight() { return 0; }

} // namespace win32gui
