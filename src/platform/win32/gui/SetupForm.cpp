// The form of the setup window in the Windows build: not there yet.
#include "platform/win32/gui/WindowsGui.h"

namespace win32gui {

bool OpenForm(const char*, int, int, int, int) { return false; }
void AddFormControls(std::span<const ControlSpec>) {}
void ShowForm() {}
bool FormOpen() { return false; }
void CloseForm() {}
bool FormChecked(int) { return false; }
void FormSetChecked(int, bool) {}
std::string FormText(int) { return {}; }
void FormSetText(int, const std::string&) {}
bool FormEnabled(int) { return false; }
void FormSetEnabled(int, bool) {}
ControlSpec FormControl(int) { return ControlSpec{0, ControlKind::Label, "", 0, 0, 0, 0}; }
FormEvent WaitFormEvent() { return FormEvent{FormEventKind::Close, 0}; }

} // namespace win32gui
