// The window module's table, the one name it exports.
#include "platform/GuiModule.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ClipboardOwnerWatch.h"
#include "platform/gui/DisplayConnection.h"
#include "platform/gui/EventWait.h"
#include "platform/gui/MessageDialog.h"

extern "C" [[gnu::visibility("default")]] const GuiModule* TessaraGuiModule() {
    static const GuiModule module{
        .size = sizeof(GuiModule),
        .openDisplay = OpenDisplayConnection,
        .serveWindowEvents = ServeWindowEvents,
        .watchFd = WatchFd,
        .unwatchFd = UnwatchFd,
        .waitWhileIdle = WaitWhileIdle,
        .takeEndRequest = TakeWindowEndRequest,
        .startClipboardOwnerWatch = StartClipboardOwnerWatch,
        .clipboardOwnerChanged = ClipboardOwnerChanged,
        .stopClipboardOwnerWatch = StopClipboardOwnerWatch,
        .showMessageDialog = ShowMessageDialog,
        .chooseFile = ChooseFile,
        .chooseFolder = ChooseFolder,
        .encodePng = EncodePng,
        .encodeJpeg = EncodeJpeg,
        .openCanvas = OpenCanvas,
        .plotTextHeight = PlotTextHeight,
        .openForm = OpenForm,
        .addFormControls = AddFormControls,
        .showForm = ShowForm,
        .formOpen = FormOpen,
        .closeForm = CloseForm,
        .formChecked = FormChecked,
        .formSetChecked = FormSetChecked,
        .formText = FormText,
        .formSetText = FormSetText,
        .formEnabled = FormEnabled,
        .formSetEnabled = FormSetEnabled,
        .formControl = FormControl,
        .waitFormEvent = WaitFormEvent,
        .openMessageWindow = OpenMessageWindow,
        .messageWindowOpen = MessageWindowOpen,
        .messageWindowAddLine = MessageWindowAddLine,
        .messageWindowText = MessageWindowText,
        .messageWindowWaitClosed = MessageWindowWaitClosed,
        .closeMessageWindow = CloseMessageWindow,
        .setPlotWindowEventHandler = SetPlotWindowEventHandler,
        .createPlotWindow = CreatePlotWindow,
        .destroyPlotWindow = DestroyPlotWindow,
        .plotWindowRect = PlotWindowRect,
        .plotWindowClientSize = PlotWindowClientSize,
        .plotWindowFrameHeight = PlotWindowFrameHeight,
        .desktopWidth = DesktopWidth,
        .showPlotImage = ShowPlotImage,
        .setPlotFields = SetPlotFields,
        .setPlotTooltip = SetPlotTooltip,
        .capturePlotWindow = CapturePlotWindow,
        .plotWindowTooltip = PlotWindowTooltip,
        .plotWindowField = PlotWindowField,
        .plotWindowImage = PlotWindowImage,
        .plotControlRect = PlotControlRect,
        .openResidentWindow = OpenResidentWindow,
        .setResidentStatus = SetResidentStatus,
        .flashWindowTimes = FlashWindowTimes,
        .closeResidentWindow = CloseResidentWindow,
    };
    return &module;
}
