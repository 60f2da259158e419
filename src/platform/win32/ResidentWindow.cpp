// The resident instance's window: "Tessara TSR" of class "WindowClass_0"
// with a "Static" child that shows the status. A launcher hands a command
// line over by setting the child's text (WM_SETTEXT); a WM_CLOSE to the
// window asks the instance to end. The window lives on a thread of its own
// that does nothing but serve its messages, so a launcher is answered at
// once also while a run is busy. What arrives is queued and taken by the
// resident loop in order of arrival.
#include "platform/ClipboardWatch.h"
#include "platform/MailboxServer.h"
#include "platform/ResidentWindow.h"

#include <deque>
#include <mutex>
#include <thread>

#include "platform/win32/ResidentSignals.h"
#include "platform/win32/gui/WindowClass.h"

namespace {

// Messages of the resident loop to the window's thread.
constexpr UINT kSetStatus = WM_APP + 1;  // lParam: a new std::string, taken over
constexpr UINT kShow = WM_APP + 2;       // wParam: show (1) or hide (0)
constexpr UINT kWatchClipboard = WM_APP + 3; // wParam: start (1) or stop (0); the result is success
constexpr UINT kDestroy = WM_APP + 4;
// The window is 60 pixels square at 0, 30 (centred once shown); the status
// control is wider than it, as it always was.
constexpr int kWindowX = 0, kWindowY = 30, kWindowSize = 60;
constexpr int kStatusWidth = 120, kStatusHeight = 60;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::mutex queueLock;
std::deque<MailboxRequest> queue;
bool closing = false; // a close request was queued: later lines are refused
bool (*lineEndsInstance)(const std::string& line) = nullptr;

HANDLE instanceLock = nullptr; // a named mutex: one resident instance per session
HWND window = nullptr;
HWND status = nullptr;
bool watchFromCreation = false; // the clipboard watch was asked for before the window was made
WNDPROC staticProc = nullptr;
std::thread windowThread;
LONG_PTR runsBeforeClose = 0;

void Queue(MailboxRequest request) {
    {
        const std::lock_guard<std::mutex> hold(queueLock);
        if (request.close || (lineEndsInstance != nullptr && lineEndsInstance(request.line))) closing = true;
        queue.push_back(std::move(request));
    }
    WakeResident();
}

// The status control: a text set by another process is a command line
// handed over; the instance's own status texts come as kSetStatus.
LRESULT CALLBACK StatusProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETTEXT || lParam == 0) return CallWindowProcA(staticProc, hwnd, message, wParam, lParam);
    {
        const std::lock_guard<std::mutex> hold(queueLock);
        if (closing) return FALSE;
    }
    Queue(MailboxRequest{false, reinterpret_cast<const char*>(lParam)});
    return TRUE;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Queue(MailboxRequest{true, {}});
        return 0;
    case WM_CHAR:
        // Escape typed into the window ends the instance as its close box does.
        if (wParam != VK_ESCAPE) break;
        Queue(MailboxRequest{true, {}});
        return 0;
    case WM_CLIPBOARDUPDATE:
        MarkClipboardChange();
        return 0;
    case kSetStatus: {
        const auto* text = reinterpret_cast<std::string*>(lParam);
        CallWindowProcA(staticProc, status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text->c_str()));
        delete text;
        return 0;
    }
    case kShow:
        if (wParam != 0) {
            RECT frame{};
            GetWindowRect(hwnd, &frame);
            const int width = frame.right - frame.left, height = frame.bottom - frame.top;
            SetWindowPos(hwnd, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
        }
        ShowWindow(hwnd, wParam != 0 ? SW_SHOWNOACTIVATE : SW_HIDE);
        return 0;
    case kWatchClipboard:
        return wParam != 0 ? AddClipboardFormatListener(hwnd) : RemoveClipboardFormatListener(hwnd);
    case kDestroy:
        RemovePropA(hwnd, kRunsProperty);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The window's thread: creates the window and its child, reports through
// created, then serves messages until the window is destroyed.
// (The class is registered here while the program's thread waits for
// created, so the registration never meets one of that thread's.)
void ServeWindow(HANDLE created) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    window = CreateWindowExA(0, WindowClass(kResidentClass, WindowProc), kResidentTitle, kWindowStyle, kWindowX,
                             kWindowY, kWindowSize, kWindowSize, nullptr, nullptr, instance, nullptr);
    if (window != nullptr) {
        status = CreateWindowExA(WS_EX_CLIENTEDGE, "Static", kWaitingStatus, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0,
                                 kStatusWidth, kStatusHeight, window, nullptr, instance, nullptr);
    }
    if (status != nullptr) {
        staticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusProc)));
    } else if (window != nullptr) {
        DestroyWindow(window);
        window = nullptr;
    }
    // A watch asked for before the window existed starts with it, before
    // a launcher can have found the instance.
    if (window != nullptr && watchFromCreation) AddClipboardFormatListener(window);
    SetEvent(created);
    if (window == nullptr) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

bool OpenMailbox(int, std::string& why) {
    instanceLock = CreateMutexA(nullptr, TRUE, "Local\\Tessara TSR");
    if (instanceLock == nullptr || GetLastError() == ERROR_ALREADY_EXISTS || FindWindowA(kResidentClass, kResidentTitle)) {
        why = "another resident instance runs already";
        if (instanceLock != nullptr) CloseHandle(instanceLock);
        instanceLock = nullptr;
        return false;
    }
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (created == nullptr) {
        why = "the resident window cannot be created";
        return false;
    }
    windowThread = std::thread(ServeWindow, created);
    WaitForSingleObject(created, INFINITE);
    CloseHandle(created);
    if (window != nullptr) return true;
    windowThread.join();
    CloseHandle(instanceLock);
    instanceLock = nullptr;
    why = "the resident window cannot be created";
    return false;
}

bool TakeMailboxRequest(MailboxRequest& request) {
    const std::lock_guard<std::mutex> hold(queueLock);
    if (queue.empty()) return false;
    request = std::move(queue.front());
    queue.pop_front();
    return true;
}

void QueueMailboxClose() { Queue(MailboxRequest{true, {}}); }

void SetLineEndsInstance(bool (*endsInstance)(const std::string& line)) {
    const std::lock_guard<std::mutex> hold(queueLock);
    lineEndsInstance = endsInstance;
}

// A launcher that waits for the end reads the count of runs done since its
// close request from the window.
void FinishMailboxRequest(const MailboxRequest&, int, const std::string&) {
    if (window == nullptr) return;
    bool closeQueued = false;
    {
        const std::lock_guard<std::mutex> hold(queueLock);
        closeQueued = closing;
    }
    if (closeQueued) SetPropA(window, kRunsProperty, reinterpret_cast<HANDLE>(++runsBeforeClose));
}

void CloseMailbox() {
    if (window == nullptr) return;
    // Once the window is gone, launchers find no instance any more.
    PostMessageA(window, kDestroy, 0, 0);
    windowThread.join();
    window = status = nullptr;
    CloseHandle(instanceLock);
    instanceLock = nullptr;
    const std::lock_guard<std::mutex> hold(queueLock);
    queue.clear();
    closing = false;
}

bool OpenResidentWindow() {
    if (window == nullptr) return false;
    PostMessageA(window, kShow, 1, 0);
    return true;
}

void SetResidentStatus(const std::string& text) {
    if (window == nullptr) return;
    auto* copy = new std::string(text);
    if (!PostMessageA(window, kSetStatus, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

int FlashWindowTimes(int count) {
    if (window == nullptr || !IsWindowVisible(window)) return 0;
    // The caption and the task-bar button, count times at the default rate.
    FLASHWINFO flash{sizeof(FLASHWINFO), window, FLASHW_ALL | FLASHW_TIMER, static_cast<UINT>(count), 0};
    FlashWindowEx(&flash);
    return 0;
}

void CloseResidentWindow() {
    if (window != nullptr) PostMessageA(window, kShow, 0, 0);
}

// Before the window exists the watch is noted and starts with the window.
bool StartClipboardWatch(int) {
    if (window == nullptr) {
        watchFromCreation = true;
        return true;
    }
    return SendMessageA(window, kWatchClipboard, 1, 0) != 0;
}

void StopClipboardWatch() {
    watchFromCreation = false;
    if (window != nullptr) SendMessageA(window, kWatchClipboard, 0, 0);
}
