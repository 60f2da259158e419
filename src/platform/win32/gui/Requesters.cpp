// The file and folder requesters of the Windows build: not there yet.
#include "platform/win32/gui/WindowsGui.h"

namespace win32gui {

std::string ChooseFile(const char*, const char*) { return {}; }
std::string ChooseFolder(const char*, const std::string&) { return {}; }

} // namespace win32gui
