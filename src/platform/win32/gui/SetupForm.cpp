// The form of the setup window in the Windows build: a fixed-size top-level
// window of "Static", "Edit" and "Button" controls made with CreateWindowExA,
// each with its id as the control id, in the default GUI font. Presses of
// buttons, check boxes and option buttons, Escape and the close box are
// queued as form events; WaitFormEvent serves this thread's messages until
// one is there (or the message window was closed).
#include <deque>
#include <map>
#include <string>

#include "platform/FormEventOrder.h"
#include "platform/win32/gui/MessageWindowState.h"
#include "platform/win32/gui/WindowClass.h"
#include "platform/win32/gui/WindowText.h"
#include "platform/win32/gui/WindowsGui.h"

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

struct Control {
    ControlSpec spec;
    HWND hwnd;
    std::string caption; // what FormControl last reported as the caption
};

HWND form = nullptr;
std::map<int, Control> controls;
std::deque<FormEvent> events;

bool IsPressable(ControlKind kind) { return kind == ControlKind::Button || IsToggle(kind); }

// The window class and styles of a control of kind; startsGroup makes it
// the first of a group of controls (the arrow keys move within a group).
struct ControlClass {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind, bool startsGroup) {
    const DWORD common = WS_CHILD | WS_VISIBLE | (startsGroup ? WS_GROUP : 0);
    switch (kind) {
    case ControlKind::Label: return {"Static", common | SS_LEFT, 0};
    case ControlKind::Frame: return {"Button", common | BS_GROUPBOX, 0};
    case ControlKind::TextBox: return {"Edit", common | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::CentredTextBox:
        return {"Edit", common | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER, WS_EX_CLIENTEDGE};
    case ControlKind::MultiLineTextBox:
        return {"Edit",
                common | WS_TABSTOP | WS_VSCROLL | ES_AUTOVSCROLL | ES_MULTILINE | ES_RIGHT | ES_CENTER,
                WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {"Button", common | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox: return {"Button", common | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::OptionButton: return {"Button", common | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    }
    return {"Static", common, 0};
}

const Control* Find(int id) {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : &it->second;
}

HWND FindToggle(int id) {
    const Control* c = Find(id);
    return c != nullptr && IsToggle(c->spec.kind) ? c->hwnd : nullptr;
}

HWND FindTextBox(int id) {
    const Control* c = Find(id);
    return c != nullptr && IsTextBox(c->spec.kind) ? c->hwnd : nullptr;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        // Every press counts, also one that leaves an option button as it was.
        const int id = LOWORD(wParam);
        const Control* c = Find(id);
        if (HIWORD(wParam) == BN_CLICKED && c != nullptr && IsPressable(c->spec.kind))
            events.push_back({FormEventKind::Control, id});
        return 0;
    }
    case WM_CLOSE:
        events.push_back({FormEventKind::Close, 0});
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool IsFormEscape(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.wParam == VK_ESCAPE &&
           (message.hwnd == form || IsChild(form, message.hwnd));
}

} // namespace

namespace win32gui {

bool OpenForm(const char* title, int x, int y, int w, int h) {
    CloseForm();
    // x, y place the window; w, h give its client area, the frame comes around it.
    RECT frame{0, 0, w, h};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
    form = CreateWindowExA(WS_EX_CONTROLPARENT, WindowClass("TessaraForm", FormProc), title, kFormStyle, x, y,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    return form != nullptr;
}

void AddFormControls(std::span<const ControlSpec> specs) {
    if (form == nullptr) return;
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    // Every control starts a group but an option button that follows
    // another, so that a run of option buttons forms one group.
    bool afterOption = false;
    for (const ControlSpec& c : specs) {
        const bool option = c.kind == ControlKind::OptionButton;
        const ControlClass cls = ClassOf(c.kind, !option || !afterOption);
        afterOption = option;
        const HWND hwnd = CreateWindowExA(cls.exStyle, cls.windowClass, c.caption, cls.style, c.x, c.y, c.w, c.h,
                                          form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                          GetModuleHandleA(nullptr), nullptr);
        if (hwnd == nullptr) continue;
        SendMessageA(hwnd, WM_SETFONT, font, FALSE);
        if (IsTextBox(c.kind)) SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);
        controls[c.id] = {c, hwnd, {}};
    }
}

void ShowForm() {
    if (form == nullptr) return;
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
    UpdateWindow(form);
}

bool FormOpen() { return form != nullptr && IsWindowVisible(form); }

void CloseForm() {
    events.clear();
    controls.clear();
    if (form == nullptr) return;
    DestroyWindow(form);
    form = nullptr;
}

bool FormChecked(int id) {
    const HWND button = FindToggle(id);
    return button != nullptr && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormSetChecked(int id, bool checked) {
    const HWND button = FindToggle(id);
    if (button == nullptr) return;
    if (checked && Find(id)->spec.kind == ControlKind::OptionButton) {
        for (const auto& [otherId, other] : controls)
            if (other.spec.kind == ControlKind::OptionButton && otherId != id)
                SendMessageA(other.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string FormText(int id) {
    const HWND box = FindTextBox(id);
    return box != nullptr ? WindowText(box) : std::string();
}

void FormSetText(int id, const std::string& text) {
    if (const HWND box = FindTextBox(id)) SetWindowTextA(box, text.c_str());
}

bool FormEnabled(int id) {
    const Control* c = Find(id);
    return c != nullptr && IsWindowEnabled(c->hwnd);
}

void FormSetEnabled(int id, bool enabled) {
    if (const Control* c = Find(id)) EnableWindow(c->hwnd, enabled ? TRUE : FALSE);
}

ControlSpec FormControl(int id) {
    const auto it = controls.find(id);
    if (it == controls.end()) return {0, ControlKind::Label, "", 0, 0, 0, 0};
    Control& c = it->second;
    c.caption = WindowText(c.hwnd);
    RECT place{};
    GetWindowRect(c.hwnd, &place);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
    return {id, c.spec.kind, c.caption.c_str(), place.left, place.top, place.right - place.left,
            place.bottom - place.top};
}

FormEvent WaitFormEvent() {
    for (;;) {
        if (const auto event = TakeFormEvent(events, MessageWindowClosedByUser(), FormOpen())) return *event;
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            // The thread is asked to end: the form closes, and the request
            // stays for whoever waits next.
            PostQuitMessage(static_cast<int>(message.wParam));
            return {FormEventKind::Close, 0};
        }
        // Escape goes to the form itself, not to the focused control (the
        // dialog keys would take it for the control with id 2).
        if (IsFormEscape(message)) {
            if (message.message == WM_KEYDOWN) events.push_back({FormEventKind::Escape, 0});
            continue;
        }
        // Tab, the arrow keys among option buttons and the other dialog keys.
        if (IsDialogMessageA(form, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace win32gui
