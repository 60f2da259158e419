// The message dialog through MessageBoxA.
#include "platform/MessageBox.h"

#include <windows.h>

void ShowMessageDialog(const std::string& title, const std::string& text, bool takeFocus) {
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | (takeFocus ? MB_SETFOREGROUND : 0));
}
