// Plot windows: a picture on top and a row of controls below it (Redraw,
// "Redraw from" field, "to" field, Close). Each window is known by its window
// identifier; its events go to one handler, which the plot code sets.
#pragma once

#include <functional>
#include <string>

#include "platform/RgbImage.h"

struct PlotWindowEvent {
    enum class Kind {
        Redraw,     // the Redraw button; fromText and toText are the fields' texts
        Close,      // the Close button, the close box or Escape
        Resize,     // the client size changed; the controls are already laid out
        ImageClick, // a left or right click on the picture at mouseX, mouseY
    };
    Kind kind = Kind::Close;
    int windowId = 0;
    std::string fromText;
    std::string toText;
    int mouseX = -1; // client coordinates, -1 outside the client area
    int mouseY = -1;
};

// The function that every plot window event goes to.
void SetPlotWindowEventHandler(std::function<void(const PlotWindowEvent&)> handler);

// A window's place on the screen and its client size. x and y are where the
// client area starts under X11, where the window manager adds the frame
// around it; on Windows they are the window's own corner, frame included,
// from which the next window of a row is placed.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Opens a plot window at rect with the title, and maps it.
// False without a display.
bool CreatePlotWindow(int windowId, const std::string& title, const WindowRect& rect);

// Closes the window; nothing when it is not open.
void DestroyPlotWindow(int windowId);

// The place and client size of an open window; false when it is not open.
bool PlotWindowRect(int windowId, WindowRect& rect);
bool PlotWindowClientSize(int windowId, int& width, int& height);

// What the window manager's frame adds to the height of the client area
// (title bar and borders); 0 without a frame or when the window is not open.
int PlotWindowFrameHeight(int windowId);

// The width of the primary screen.
int DesktopWidth();

// Shows picture in the window's image control, sized to the picture.
void ShowPlotImage(int windowId, const RgbImage& picture);

// Sets the texts of the from and to fields.
void SetPlotFields(int windowId, const std::string& fromText, const std::string& toText);

// Sets the image control's tooltip and shows it at the mouse.
void SetPlotTooltip(int windowId, const std::string& text);

// The whole window, with the frame and title bar a window manager draws
// around it; empty when the window is not open or cannot be drawn.
RgbImage CapturePlotWindow(int windowId);

// What tests look at: the tooltip, the fields, the picture shown and the
// rectangle of a control (0 image, 1 Redraw, 2 Close, 3 "Redraw from" label,
// 4 from field, 5 "to" label, 6 to field).
std::string PlotWindowTooltip(int windowId);
std::string PlotWindowField(int windowId, bool toField);
RgbImage PlotWindowImage(int windowId);
WindowRect PlotControlRect(int windowId, int control);
