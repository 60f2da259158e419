// The message window "Tessara Log" of the Windows build: a sizable window
// with the label "Messages Log" over a read-only multi-line "Edit" control
// that holds the lines. Its close box, or Escape in it, closes it: while the
// setup form is open the form hears of it, while this process is resident
// it asks the instance to end, as the resident loop takes any window of the
// instance other than a plot window.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/win32/ResidentSignals.h"
#include "platform/win32/gui/EscapeKey.h"
#include "platform/win32/gui/GuiFonts.h"
#include "platform/win32/gui/MessageWindowState.h"
#include "platform/win32/gui/WindowClass.h"
#include "platform/win32/gui/WindowText.h"
#include "platform/win32/gui/WindowsGui.h"

namespace {

constexpr int kX = 0, kY = 195, kWidth = 328, kHeight = 330;
constexpr int kFixedFontPixels = 11; // "Courier New" at 8 points

HWND window = nullptr;
HWND view = nullptr;
int lineCount = 0;
bool closedByUser = false;

// text with lone CR and lone LF made CR LF, the line end the control shows.
std::string ControlLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            lines += c;
        }
    }
    return lines;
}

bool OwnsResidentWindow() {
    const HWND resident = FindWindowA(kResidentClass, kResidentTitle);
    DWORD process = 0;
    return resident != nullptr && GetWindowThreadProcessId(resident, &process) != 0 &&
           process == GetCurrentProcessId();
}

void CloseByUser() {
    if (!win32gui::FormOpen() && OwnsResidentWindow()) RequestResidentEnd();
    closedByUser = true;
    ShowWindow(window, SW_HIDE);
}

// The view keeps 5 pixels on the left and 10 on the right and at the bottom.
void PlaceView() {
    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(view, 5, 25, client.right - 15, client.bottom - 35, TRUE);
}

constexpr WPARAM kCtrlA = 1; // the character that Ctrl+A types

// Ctrl+A in the view selects the whole text, for copying.
LRESULT CALLBACK SelectAllProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_CHAR && wParam == kCtrlA) {
        SendMessageA(hwnd, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SelectAllProc, id);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        CloseByUser();
        return 0;
    case WM_SIZE:
        if (view != nullptr) PlaceView();
        return 0;
    case WM_SETFOCUS:
        // The keys typed into the window go to its text.
        if (view != nullptr) SetFocus(view);
        return 0;
    case WM_CTLCOLORSTATIC:
        // The read-only view on the background of a text, not of the dialog.
        if (reinterpret_cast<HWND>(lParam) != view) break;
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

bool MessageWindowClosedByUser() { return window != nullptr && closedByUser; }

namespace win32gui {

bool OpenMessageWindow(bool fixedFont) {
    CloseMessageWindow();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    window = CreateWindowExA(0, WindowClass("TessaraLog", LogWindowProc), "Tessara Log",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, kX, kY,
                             kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return false;
    const auto guiFont = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const HWND label = CreateWindowExA(0, "Static", "Messages Log", WS_CHILD | WS_VISIBLE | SS_LEFT, 5, 10, 100, 15,
                                       window, nullptr, instance, nullptr);
    view = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                               ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                           5, 25, kWidth - 15, kHeight - 35, window, nullptr, instance, nullptr);
    if (label == nullptr || view == nullptr) {
        CloseMessageWindow();
        return false;
    }
    SendMessageA(label, WM_SETFONT, guiFont, FALSE);
    const HFONT fixed = fixedFont ? GuiFont("Courier New", kFixedFontPixels) : nullptr;
    SendMessageA(view, WM_SETFONT, fixed != nullptr ? reinterpret_cast<WPARAM>(fixed) : guiFont, FALSE);
    SendMessageA(view, EM_SETLIMITTEXT, 0, 0);
    CloseOnEscape(view);
    SetWindowSubclass(view, SelectAllProc, 1, 0);
    PlaceView();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

bool MessageWindowOpen() { return window != nullptr && IsWindowVisible(window); }

void MessageWindowAddLine(const std::string& line, int position) {
    if (view == nullptr) return;
    const std::string shown = ControlLines(line);
    const bool first = lineCount == 0;
    const auto length = static_cast<WPARAM>(GetWindowTextLengthA(view));
    const WPARAM at = position == 0 ? 0 : length + (first ? 0 : 2);
    const std::string inserted = position == 0 ? (first ? shown : shown + "\r\n") : (first ? shown : "\r\n" + shown);
    SendMessageA(view, EM_SETSEL, position == 0 ? 0 : length, position == 0 ? 0 : static_cast<LPARAM>(length));
    SendMessageA(view, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(inserted.c_str()));
    ++lineCount;
    // The new line is brought into view, and drawn now: a run does not
    // serve the window's messages until it ends.
    SendMessageA(view, EM_SETSEL, at, static_cast<LPARAM>(at));
    SendMessageA(view, WM_VSCROLL, position == 0 ? SB_TOP : SB_BOTTOM, 0);
    UpdateWindow(view);
}

std::string MessageWindowText() {
    if (view == nullptr) return {};
    const std::string text = WindowText(view);
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    return lines;
}

void MessageWindowWaitClosed() {
    while (MessageWindowOpen()) {
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CloseMessageWindow() {
    if (window != nullptr) DestroyWindow(window);
    window = view = nullptr;
    lineCount = 0;
    closedByUser = false;
}

} // namespace win32gui
