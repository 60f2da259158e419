// The message dialog of the window module, where there is a display.
#include "platform/MessageBox.h"

#include "platform/Display.h"
#include "platform/GuiModule.h"

void ShowMessageDialog(const std::string& title, const std::string& text, bool takeFocus) {
    if (DisplayAvailable()) LoadedGuiModule()->showMessageDialog(title, text, takeFocus);
}
