#include "platform/win32/ThreadMessages.h"

void ServeThreadMessages(HANDLE wake, DWORD timeoutMs) {
    MsgWaitForMultipleObjects(wake != nullptr ? 1 : 0, wake != nullptr ? &wake : nullptr, FALSE, timeoutMs,
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
