// Plot windows of the Windows build: a top-level window with the picture
// control on top and the control row below it, whose events go to the plot
// code's handler. The controls carry the identifiers of the plot record:
// the window's identifier + 1 for the picture, + 2 Redraw, + 3 Close,
// + 4 "Redraw from", + 5 the from field, + 6 "to", + 7 the to field.
#include "platform/win32/gui/WindowsGui.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <memory>

#include "platform/win32/gui/DibSurface.h"
#include "platform/win32/gui/EscapeKey.h"
#include "platform/win32/gui/GuiFonts.h"
#include "platform/win32/gui/PlotWin.h"
#include "platform/win32/gui/WindowClass.h"
#include "platform/win32/gui/WindowText.h"

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; // children left out of the erase
// Font sizes in pixels of the labels and buttons, and of the fields' texts.
constexpr int kLabelPixels = 10;
constexpr int kFieldPixels = 11;
constexpr int kControlRow = 35; // client rows below the picture

std::function<void(const PlotWindowEvent&)> eventHandler;
std::map<int, std::unique_ptr<PlotWin>> windows;

PlotWin* Of(HWND window) { return reinterpret_cast<PlotWin*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// The handler may close the window: callers touch nothing of it afterwards.
void Report(const PlotWin& plot, PlotWindowEvent::Kind kind, int mouseX = -1, int mouseY = -1) {
    PlotWindowEvent event;
    event.kind = kind;
    event.windowId = plot.windowId;
    event.mouseX = mouseX;
    event.mouseY = mouseY;
    if (kind == PlotWindowEvent::Kind::Redraw) {
        event.fromText = WindowText(plot.controls[kFromField]);
        event.toText = WindowText(plot.controls[kToField]);
    }
    if (eventHandler) eventHandler(event);
}

// In a client area of w x h the control row lies at h - 25 (labels at
// h - 22), the Close button at w - 80; the picture fills the rest above.
using Places = std::array<WindowRect, kControlCount>;
Places PlacesIn(int w, int h) {
    const int row = h - 25;
    return {WindowRect{}, {0, 0, w, h - kControlRow}, {5, row, 75, 20}, {w - 80, row, 75, 20}, {90, row + 3, 70, 20},
            {160, row, 50, 20}, {220, row + 3, 20, 20}, {240, row, 50, 20}};
}

void Layout(PlotWin& plot, int w, int h) {
    const Places places = PlacesIn(w, h);
    for (int c = kPicture; c < kControlCount; ++c)
        MoveWindow(plot.controls[c], places[c].x, places[c].y, places[c].width, places[c].height, TRUE);
    plot.width = w;
    plot.height = h;
}

void HideTooltip(const PlotWin& plot) {
    if (plot.tooltip == nullptr) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = plot.window;
    tool.uId = reinterpret_cast<UINT_PTR>(plot.controls[kPicture]);
    SendMessageA(plot.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// The picture control: paints the picture and reports clicks on it; the
// readout tooltip goes when the mouse leaves it.
LRESULT CALLBACK PictureProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    PlotWin* plot = Of(GetParent(control));
    if (plot == nullptr) return DefWindowProcA(control, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(control, &paint);
        PaintPicture(*plot, control, dc);
        EndPaint(control, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: // a capture of the window (PrintWindow) draws its children this way
        PaintPicture(*plot, control, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // The picture sits at the client area's origin: its pixels are client pixels.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        MapWindowPoints(control, plot->window, &at, 1);
        Report(*plot, PlotWindowEvent::Kind::ImageClick, at.x, at.y);
        return 0;
    }
    case WM_MOUSELEAVE:
        HideTooltip(*plot);
        return 0;
    default:
        return DefWindowProcA(control, message, wParam, lParam);
    }
}

LRESULT CALLBACK PlotProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    PlotWin* plot = Of(window);
    // Until its controls exist (during CreateWindowEx) the window is not reported on.
    if (plot == nullptr || plot->controls[kToField] == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE: {
        const int w = LOWORD(lParam);
        const int h = HIWORD(lParam);
        if (wParam == SIZE_MINIMIZED || (w == plot->width && h == plot->height)) return 0;
        Layout(*plot, w, h);
        Report(*plot, PlotWindowEvent::Kind::Resize);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == plot->windowId + kRedraw)
            Report(*plot, PlotWindowEvent::Kind::Redraw);
        else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == plot->windowId + kClose)
            Report(*plot, PlotWindowEvent::Kind::Close);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_PRINT:
        PrintPlotWindowItself(*plot, reinterpret_cast<HDC>(wParam), lParam);
        return 0;
    case WM_CLOSE: // the close box, the system menu and Escape
        Report(*plot, PlotWindowEvent::Kind::Close);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) HideTooltip(*plot);
        break;
    case WM_MOVE:
        HideTooltip(*plot);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeControl(PlotWin& plot, const char* className, const char* text, DWORD style, int control,
                 const WindowRect& place) {
    const bool field = control == kFromField || control == kToField;
    const HWND made = CreateWindowExA(field ? WS_EX_CLIENTEDGE : 0, className, text, WS_CHILD | WS_VISIBLE | style,
                                      place.x, place.y, place.width, place.height, plot.window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(plot.windowId + control)),
                                      GetModuleHandleA(nullptr), nullptr);
    SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont("Verdana", field ? kFieldPixels : kLabelPixels)),
                 FALSE);
    CloseOnEscape(made);
    return made;
}

void MakeControls(PlotWin& plot, int w, int h) {
    const Places at = PlacesIn(w, h);
    const auto make = [&](int control, const char* className, const char* text, DWORD style) {
        plot.controls[control] = MakeControl(plot, className, text, style, control, at[control]);
    };
    make(kPicture, WindowClass("TessaraPlotPicture", PictureProc), "", 0);
    make(kRedraw, "Button", "Redraw", WS_TABSTOP | BS_PUSHBUTTON);
    make(kClose, "Button", "Close", WS_TABSTOP | BS_PUSHBUTTON);
    make(kFromLabel, "Static", "Redraw from", SS_LEFTNOWORDWRAP);
    make(kFromField, "Edit", "0", WS_TABSTOP | ES_AUTOHSCROLL);
    make(kToLabel, "Static", "to", SS_LEFTNOWORDWRAP);
    make(kToField, "Edit", "0", WS_TABSTOP | ES_AUTOHSCROLL);
    plot.width = w;
    plot.height = h;
}

// The readout tooltip, made on the first readout: comctl32's tooltip, shown
// at the mouse when the text is set (a tracking tooltip) rather than after
// the mouse rests.
HWND Tooltip(PlotWin& plot) {
    if (plot.tooltip != nullptr) return plot.tooltip;
    plot.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, plot.window, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = plot.window;
    tool.uId = reinterpret_cast<UINT_PTR>(plot.controls[kPicture]);
    tool.lpszText = const_cast<char*>("");
    SendMessageA(plot.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return plot.tooltip;
}

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

} // namespace

PlotWin* FindPlotWindow(int windowId) {
    const auto it = windows.find(windowId);
    return it == windows.end() ? nullptr : it->second.get();
}

void PaintPicture(const PlotWin& plot, HWND control, HDC dc) {
    RECT area;
    GetClientRect(control, &area);
    const int w = plot.picture.width;
    const int h = plot.picture.height;
    if (w > 0) {
        const BITMAPINFO info = TopDownDibInfo(w, h);
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h),
                          plot.pixels.data(), &info, DIB_RGB_COLORS);
    }
    // What the picture leaves, while a resize waits for the new one.
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT right{w, 0, area.right, area.bottom};
    const RECT below{0, h, w, area.bottom};
    if (right.left < right.right) FillRect(dc, &right, black);
    if (below.top < below.bottom) FillRect(dc, &below, black);
}

namespace win32gui {

void SetPlotWindowEventHandler(std::function<void(const PlotWindowEvent&)> handler) {
    eventHandler = std::move(handler);
}

// rect gives the window's top-left corner on the screen and its client size.
bool CreatePlotWindow(int windowId, const std::string& title, const WindowRect& rect) {
    win32gui::DestroyPlotWindow(windowId);
    InitCommonControlsOnce();
    auto plot = std::make_unique<PlotWin>();
    plot->windowId = windowId;
    RECT outer{0, 0, rect.width, rect.height};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
    plot->window = CreateWindowExA(0, WindowClass("TessaraPlot", PlotProc), title.c_str(), kWindowStyle, rect.x,
                                   rect.y, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), plot.get());
    if (plot->window == nullptr) return false;
    RECT client;
    GetClientRect(plot->window, &client);
    MakeControls(*plot, client.right, client.bottom);
    PlotWin& shown = *plot;
    windows[windowId] = std::move(plot);
    ShowWindow(shown.window, SW_SHOW);
    UpdateWindow(shown.window);
    return true;
}

// The tooltip is owned by the window and goes with it.
void DestroyPlotWindow(int windowId) {
    const auto it = windows.find(windowId);
    if (it == windows.end()) return;
    const std::unique_ptr<PlotWin> plot = std::move(it->second);
    windows.erase(it);
    SetWindowLongPtrA(plot->window, GWLP_USERDATA, 0);
    DestroyWindow(plot->window);
}

// The window's top-left corner (frame included) and its client size: the
// next window of a row starts at this corner + the client width + 7.
bool PlotWindowRect(int windowId, WindowRect& rect) {
    const PlotWin* plot = FindPlotWindow(windowId);
    RECT outer, client;
    if (plot == nullptr || !GetWindowRect(plot->window, &outer) || !GetClientRect(plot->window, &client)) return false;
    rect = {outer.left, outer.top, client.right, client.bottom};
    return true;
}

bool PlotWindowClientSize(int windowId, int& width, int& height) {
    WindowRect rect;
    if (!win32gui::PlotWindowRect(windowId, rect)) return false;
    width = rect.width;
    height = rect.height;
    return true;
}

int PlotWindowFrameHeight(int windowId) {
    const PlotWin* plot = FindPlotWindow(windowId);
    RECT outer, client;
    if (plot == nullptr || !GetWindowRect(plot->window, &outer) || !GetClientRect(plot->window, &client)) return 0;
    return (outer.bottom - outer.top) - client.bottom;
}

int DesktopWidth() { return GetSystemMetrics(SM_CXSCREEN); }

void ShowPlotImage(int windowId, const RgbImage& picture) {
    PlotWin* plot = FindPlotWindow(windowId);
    if (plot == nullptr || picture.Empty()) return;
    plot->picture = picture;
    plot->pixels.resize(picture.pixels.size() / 3);
    const std::uint8_t* rgb = picture.pixels.data();
    for (std::uint32_t& pixel : plot->pixels) {
        pixel = static_cast<std::uint32_t>(rgb[0]) << 16 | static_cast<std::uint32_t>(rgb[1]) << 8 | rgb[2];
        rgb += 3;
    }
    InvalidateRect(plot->controls[kPicture], nullptr, FALSE);
    UpdateWindow(plot->controls[kPicture]);
}

void SetPlotFields(int windowId, const std::string& fromText, const std::string& toText) {
    if (const PlotWin* plot = FindPlotWindow(windowId)) {
        SetWindowTextA(plot->controls[kFromField], fromText.c_str());
        SetWindowTextA(plot->controls[kToField], toText.c_str());
    }
}

// The text becomes the tooltip of the picture and shows at once below the
// mouse; it stays until the mouse leaves the picture or the window moves.
void SetPlotTooltip(int windowId, const std::string& text) {
    PlotWin* plot = FindPlotWindow(windowId);
    if (plot == nullptr) return;
    plot->tooltipText = text;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = plot->window;
    tool.uId = reinterpret_cast<UINT_PTR>(plot->controls[kPicture]);
    tool.lpszText = plot->tooltipText.data();
    SendMessageA(Tooltip(*plot), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    POINT mouse{};
    GetCursorPos(&mouse);
    SendMessageA(plot->tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(mouse.x + 8, mouse.y + 16));
    SendMessageA(plot->tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, plot->controls[kPicture], 0};
    TrackMouseEvent(&leave);
}

std::string PlotWindowTooltip(int windowId) {
    const PlotWin* plot = FindPlotWindow(windowId);
    return plot != nullptr ? plot->tooltipText : "";
}

std::string PlotWindowField(int windowId, bool toField) {
    const PlotWin* plot = FindPlotWindow(windowId);
    return plot != nullptr ? WindowText(plot->controls[toField ? kToField : kFromField]) : "";
}

RgbImage PlotWindowImage(int windowId) {
    const PlotWin* plot = FindPlotWindow(windowId);
    return plot != nullptr ? plot->picture : RgbImage{};
}

WindowRect PlotControlRect(int windowId, int control) {
    const PlotWin* plot = FindPlotWindow(windowId);
    if (plot == nullptr || control < 0 || control >= kControlCount - 1) return {};
    const HWND child = plot->controls[control + 1];
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, plot->window, reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

} // namespace win32gui
