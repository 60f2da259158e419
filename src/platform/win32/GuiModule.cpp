// The window functions of the Windows build in the table of the window
// module, so that the shared forwarders (GuiForwarders.cpp, Offscreen.cpp)
// reach them as on Linux. Nothing is loaded: the table is part of the
// program, usable once the desktop is known to be there (Display.cpp).
// What only the Linux resident loop asks of the module (descriptor watches,
// its idle wait, the clipboard owner watch, the message dialog and the
// visible resident window) has its own Win32 code and no entry here.
#include "platform/GuiModule.h"

#include "platform/Display.h"
#include "platform/win32/gui/WindowsGui.h"

namespace {

const GuiModule table{
    .size = sizeof(GuiModule),
    .openDisplay = DisplayAvailable,
    .serveWindowEvents = ServeWindowEvents,
    .watchFd = nullptr,
    .unwatchFd = nullptr,
    .waitWhileIdle = nullptr,
    .takeEndRequest = nullptr,
    .startClipboardOwnerWatch = nullptr,
    .clipboardOwnerChanged = nullptr,
    .stopClipboardOwnerWatch = nullptr,
    .showMessageDialog = nullptr,
    .chooseFile = win32gui::ChooseFile,
    .chooseFolder = win32gui::ChooseFolder,
    .encodePng = win32gui::EncodePng,
    .encodeJpeg = win32gui::EncodeJpeg,
    .openCanvas = win32gui::OpenCanvas,
    .plotTextHeight = win32gui::PlotTextHeight,
    .openForm = win32gui::OpenForm,
    .addFormControls = win32gui::AddFormControls,
    .showForm = win32gui::ShowForm,
    .formOpen = win32gui::FormOpen,
    .closeForm = win32gui::CloseForm,
    .formChecked = win32gui::FormChecked,
    .formSetChecked = win32gui::FormSetChecked,
    .formText = win32gui::FormText,
    .formSetText = win32gui::FormSetText,
    .formEnabled = win32gui::FormEnabled,
    .formSetEnabled = win32gui::FormSetEnabled,
    .formControl = win32gui::FormControl,
    .waitFormEvent = win32gui::WaitFormEvent,
    .openMessageWindow = win32gui::OpenMessageWindow,
    .messageWindowOpen = win32gui::MessageWindowOpen,
    .messageWindowAddLine = win32gui::MessageWindowAddLine,
    .messageWindowText = win32gui::MessageWindowText,
    .messageWindowWaitClosed = win32gui::MessageWindowWaitClosed,
    .closeMessageWindow = win32gui::CloseMessageWindow,
    .setPlotWindowEventHandler = win32gui::SetPlotWindowEventHandler,
    .createPlotWindow = win32gui::CreatePlotWindow,
    .destroyPlotWindow = win32gui::DestroyPlotWindow,
    .plotWindowRect = win32gui::PlotWindowRect,
    .plotWindowClientSize = win32gui::PlotWindowClientSize,
    .plotWindowFrameHeight = win32gui::PlotWindowFrameHeight,
    .desktopWidth = win32gui::DesktopWidth,
    .showPlotImage = win32gui::ShowPlotImage,
    .setPlotFields = win32gui::SetPlotFields,
    .setPlotTooltip = win32gui::SetPlotTooltip,
    .capturePlotWindow = win32gui::CapturePlotWindow,
    .plotWindowTooltip = win32gui::PlotWindowTooltip,
    .plotWindowField = win32gui::PlotWindowField,
    .plotWindowImage = win32gui::PlotWindowImage,
    .plotControlRect = win32gui::PlotControlRect,
    .openResidentWindow = nullptr,
    .setResidentStatus = nullptr,
    .flashWindowTimes = nullptr,
    .closeResidentWindow = nullptr,
};

} // namespace

const GuiModule* LoadGuiModule() { return &table; }

const GuiModule* LoadedGuiModule() { return &table; }
