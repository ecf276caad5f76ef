// The one way the program's windows wait: for a handle, or only for a time,
// while answering what other threads send to this one. Our own low-level input
// hooks run that way: a thread that blocks in a plain wait with them installed
// freezes the input of the whole PC until the system gives up on the hook, and
// the key that came meanwhile is lost. Looking at the queue also keeps Windows
// from calling the window Not Responding during a wait of a few seconds.
// Nothing posted is dispatched. What runs inside the wait is what is sent: the
// saver's hooks, which apply its input rules at once, so that a key can end the
// wait's caller early (the caller looks at its own state between short waits).
#pragma once

#include <windows.h>

namespace lumivane::win32 {

// WAIT_OBJECT_0 (or WAIT_ABANDONED_0 for a mutex whose holder ended) once the
// handle is signalled, WAIT_TIMEOUT when the time has run out (always, without
// a handle), WAIT_FAILED when the handle cannot be waited for.
DWORD WaitAnswering(HANDLE handle, DWORD milliseconds);

} // namespace lumivane::win32
