// The window module, libTessaraGui.so: the part of the platform layer that
// needs FLTK, X11, libpng or libjpeg. The program loads it the first time the
// display, a window, a dialog or a picture is needed, so that a run that needs
// none never maps those libraries.
//
// The module defines the functions of FileChooser.h, Form.h, ImageCodecs.h,
// MessageWindow.h, PlotWindow.h and ResidentWindow.h. The program's own
// definitions of them (GuiForwarders.cpp) call the module's through this
// table once the display is open (the codecs once the module is loaded), and
// otherwise behave as without a display.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Display.h"
#include "platform/FileChooser.h"
#include "platform/Form.h"
#include "platform/ImageCodecs.h"
#include "platform/MessageWindow.h"
#include "platform/Offscreen.h"
#include "platform/PlotWindow.h"
#include "platform/ResidentWindow.h"

// The module's only exported name: a function without parameters that
// returns its table.
inline constexpr const char* kGuiModuleEntry = "TessaraGuiModule";

struct GuiModule {
    std::size_t size; // sizeof(GuiModule) where the module was built

    // The display: opens the connection to the display named by DISPLAY
    // (false when it cannot be opened), and serves its events.
    bool (*openDisplay)();
    decltype(&ServeWindowEvents) serveWindowEvents;

    // The resident instance's waiting with the display open. watchFd makes
    // the wait call ready whenever fd is readable. waitWhileIdle serves window
    // events until some arrived, taking a close or Escape in the message
    // window as the request to end. takeEndRequest is true once when a window
    // of the instance asked it to end since the last call.
    void (*watchFd)(int fd, void (*ready)());
    void (*unwatchFd)(int fd);
    void (*waitWhileIdle)();
    bool (*takeEndRequest)();

    // Clipboard owner changes through XFixes. The start gives the descriptor
    // to watch, or -1 when the display has no XFixes; ownerChanged reads what
    // arrived and is true when the clipboard got a new owner.
    int (*startClipboardOwnerWatch)();
    bool (*clipboardOwnerChanged)();
    void (*stopClipboardOwnerWatch)();

    // Dialogs.
    void (*showMessageDialog)(const std::string& title, const std::string& text, bool takeFocus);
    decltype(&ChooseFile) chooseFile;
    decltype(&ChooseFolder) chooseFolder;

    // Pictures; the caller owns the canvas surface.
    decltype(&EncodePng) encodePng;
    decltype(&EncodeJpeg) encodeJpeg;
    CanvasSurface* (*openCanvas)(int width, int height, Rgb background);
    decltype(&PlotTextHeight) plotTextHeight;

    // The form of the setup window.
    decltype(&OpenForm) openForm;
    decltype(&AddFormControls) addFormControls;
    decltype(&ShowForm) showForm;
    decltype(&FormOpen) formOpen;
    decltype(&CloseForm) closeForm;
    decltype(&FormChecked) formChecked;
    decltype(&FormSetChecked) formSetChecked;
    decltype(&FormText) formText;
    decltype(&FormSetText) formSetText;
    decltype(&FormEnabled) formEnabled;
    decltype(&FormSetEnabled) formSetEnabled;
    decltype(&FormControl) formControl;
    decltype(&WaitFormEvent) waitFormEvent;

    // The message window.
    decltype(&OpenMessageWindow) openMessageWindow;
    decltype(&MessageWindowOpen) messageWindowOpen;
    decltype(&MessageWindowAddLine) messageWindowAddLine;
    decltype(&MessageWindowText) messageWindowText;
    decltype(&MessageWindowWaitClosed) messageWindowWaitClosed;
    decltype(&CloseMessageWindow) closeMessageWindow;

    // Plot windows.
    decltype(&SetPlotWindowEventHandler) setPlotWindowEventHandler;
    decltype(&CreatePlotWindow) createPlotWindow;
    decltype(&DestroyPlotWindow) destroyPlotWindow;
    decltype(&PlotWindowRect) plotWindowRect;
    decltype(&PlotWindowClientSize) plotWindowClientSize;
    decltype(&PlotWindowFrameHeight) plotWindowFrameHeight;
    decltype(&DesktopWidth) desktopWidth;
    decltype(&ShowPlotImage) showPlotImage;
    decltype(&SetPlotFields) setPlotFields;
    decltype(&SetPlotTooltip) setPlotTooltip;
    decltype(&CapturePlotWindow) capturePlotWindow;
    decltype(&PlotWindowTooltip) plotWindowTooltip;
    decltype(&PlotWindowField) plotWindowField;
    decltype(&PlotWindowImage) plotWindowImage;
    decltype(&PlotControlRect) plotControlRect;

    // The visible resident window.
    decltype(&OpenResidentWindow) openResidentWindow;
    decltype(&SetResidentStatus) setResidentStatus;
    decltype(&FlashWindowTimes) flashWindowTimes;
    decltype(&CloseResidentWindow) closeResidentWindow;
};

// The module, loaded on the first call. nullptr when it cannot be loaded:
// that is said once on standard error, and the program goes on as without a
// display.
const GuiModule* LoadGuiModule();

// The module when it has been loaded, else nullptr; never loads it.
const GuiModule* LoadedGuiModule();
