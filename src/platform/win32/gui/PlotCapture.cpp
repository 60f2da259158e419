// Screenshots of the Windows build's plot windows, frame and title bar
// included: through PrintWindow, or the window's own drawing of itself
// where the system sends WM_PRINT instead of copying its pixels.
#include "platform/win32/gui/WindowsGui.h"

#include <windows.h>

#include "platform/win32/gui/DibSurface.h"
#include "platform/win32/gui/PlotWin.h"

namespace {

// The controls as a capture shows them, each at its place in the client
// area: the picture from the picture itself, the others as they are shown.
void PrintControls(const PlotWin& plot, HDC dc) {
    PaintPicture(plot, plot.controls[kPicture], dc);
    for (int c = kRedraw; c < kControlCount; ++c) {
        RECT place;
        GetWindowRect(plot.controls[c], &place);
        MapWindowPoints(nullptr, plot.window, reinterpret_cast<POINT*>(&place), 2);
        const HDC shown = GetDC(plot.controls[c]);
        BitBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, shown, 0, 0, SRCCOPY);
        ReleaseDC(plot.controls[c], shown);
    }
}

} // namespace

// The window drawn by itself into dc (WM_PRINT, which PrintWindow sends
// where the system does not copy the window's own pixels), the parts asked
// for: the frame with the title bar, the client area with the controls.
void PrintPlotWindowItself(const PlotWin& plot, HDC dc, LPARAM parts) {
    if ((parts & PRF_CHECKVISIBLE) != 0 && !IsWindowVisible(plot.window)) return;
    RECT outer, client;
    POINT corner{0, 0};
    GetWindowRect(plot.window, &outer);
    GetClientRect(plot.window, &client);
    ClientToScreen(plot.window, &corner);
    POINT offset{0, 0}; // of the client area in dc
    if ((parts & PRF_NONCLIENT) != 0) {
        offset = {corner.x - outer.left, corner.y - outer.top};
        RECT frame{0, 0, outer.right - outer.left, outer.bottom - outer.top};
        FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
        RECT caption{offset.x, offset.x, frame.right - offset.x, offset.y - 1};
        DrawCaption(plot.window, dc, &caption, DC_ACTIVE | DC_TEXT | DC_ICON | DC_GRADIENT);
    }
    if ((parts & PRF_CLIENT) == 0) return;
    POINT origin;
    OffsetViewportOrgEx(dc, offset.x, offset.y, &origin);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    PrintControls(plot, dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

namespace win32gui {

// The whole window with its frame: the window draws itself into a picture
// of its outer size through PrintWindow, looked up by name as systems
// before it lack it; there a copy of the window's own device context does.
RgbImage CapturePlotWindow(int windowId) {
    using PrintWindowCall = BOOL(WINAPI*)(HWND, HDC, UINT);
    static const auto printWindow = reinterpret_cast<PrintWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "PrintWindow")));
    const PlotWin* plot = FindPlotWindow(windowId);
    RECT outer;
    if (plot == nullptr || !IsWindowVisible(plot->window) || !GetWindowRect(plot->window, &outer)) return {};
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    DibSurface surface(width, height);
    if (!surface.Ready()) return {};
    // Controls changed since the last pass of the message loop show their state first.
    RedrawWindow(plot->window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (printWindow == nullptr || !printWindow(plot->window, surface.Dc(), 0)) {
        const HDC windowDc = GetWindowDC(plot->window);
        if (windowDc == nullptr) return {};
        BitBlt(surface.Dc(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(plot->window, windowDc);
    }
    return surface.Picture();
}

} // namespace win32gui
