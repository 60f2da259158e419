// The windows of the Windows build: the functions that the Linux window
// module (GuiModule.h) defines, here linked into the program and reached
// through the same table, so the platform-neutral forwarders serve both.
// Each is declared with the type of the shared function of the same name.
#pragma once

#include "platform/GuiModule.h"

namespace win32gui {

// Pictures: the GDI canvas and the WIC codecs.
decltype(::EncodePng) EncodePng;
decltype(::EncodeJpeg) EncodeJpeg;
CanvasSurface* OpenCanvas(int width, int height, Rgb background);
decltype(::PlotTextHeight) PlotTextHeight;

// The requesters.
decltype(::ChooseFile) ChooseFile;
decltype(::ChooseFolder) ChooseFolder;

// The setup window's form.
decltype(::OpenForm) OpenForm;
decltype(::AddFormControls) AddFormControls;
decltype(::ShowForm) ShowForm;
decltype(::FormOpen) FormOpen;
decltype(::CloseForm) CloseForm;
decltype(::FormChecked) FormChecked;
decltype(::FormSetChecked) FormSetChecked;
decltype(::FormText) FormText;
decltype(::FormSetText) FormSetText;
decltype(::FormEnabled) FormEnabled;
decltype(::FormSetEnabled) FormSetEnabled;
decltype(::FormControl) FormControl;
decltype(::WaitFormEvent) WaitFormEvent;

// The message window.
decltype(::OpenMessageWindow) OpenMessageWindow;
decltype(::MessageWindowOpen) MessageWindowOpen;
decltype(::MessageWindowAddLine) MessageWindowAddLine;
decltype(::MessageWindowText) MessageWindowText;
decltype(::MessageWindowWaitClosed) MessageWindowWaitClosed;
decltype(::CloseMessageWindow) CloseMessageWindow;

// Plot windows.
decltype(::SetPlotWindowEventHandler) SetPlotWindowEventHandler;
decltype(::CreatePlotWindow) CreatePlotWindow;
decltype(::DestroyPlotWindow) DestroyPlotWindow;
decltype(::PlotWindowRect) PlotWindowRect;
decltype(::PlotWindowClientSize) PlotWindowClientSize;
decltype(::PlotWindowFrameHeight) PlotWindowFrameHeight;
decltype(::DesktopWidth) DesktopWidth;
decltype(::ShowPlotImage) ShowPlotImage;
decltype(::SetPlotFields) SetPlotFields;
decltype(::SetPlotTooltip) SetPlotTooltip;
decltype(::CapturePlotWindow) CapturePlotWindow;
decltype(::PlotWindowTooltip) PlotWindowTooltip;
decltype(::PlotWindowField) PlotWindowField;
decltype(::PlotWindowImage) PlotWindowImage;
decltype(::PlotControlRect) PlotControlRect;

} // namespace win32gui
