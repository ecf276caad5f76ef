// Waits that answer sent messages (see AnsweringWait.h).
#include "platform/win32/AnsweringWait.h"

namespace lumivane::win32 {

DWORD WaitAnswering(HANDLE handle, DWORD milliseconds) {
    const DWORD count = handle ? 1 : 0;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG waited = GetTickCount64() - start;
        const DWORD left = waited >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - waited);
        const DWORD result = MsgWaitForMultipleObjects(count, &handle, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count)
            return result;
        // A sent message (a hook's call among them) is answered inside PeekMessage.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (left == 0)
            return WAIT_TIMEOUT;
    }
}

} // namespace lumivane::win32
