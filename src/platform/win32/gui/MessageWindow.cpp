// The message window of the Windows build: not there yet.
#include "platform/win32/gui/WindowsGui.h"

namespace win32gui {

bool OpenMessageWindow(bool) { return false; }
bool MessageWindowOpen() { return false; }
void MessageWindowAddLine(const std::string&, int) {}
std::string MessageWindowText() { return {}; }
void MessageWindowWaitClosed() {}
void CloseMessageWindow() {}

} // namespace win32gui
