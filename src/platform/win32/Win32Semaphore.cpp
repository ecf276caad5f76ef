// The single-instance marker over a named semaphore (see Win32Semaphore.h).
#include "platform/win32/Win32Semaphore.h"

#include "platform/win32/Handles.h"

namespace lumivane::win32 {

SemaphoreResult Win32Semaphore::CreateOrOpen(const std::string& name) {
    KernelHandle handle(CreateSemaphoreA(nullptr, 0, 1, name.c_str()));
    if (!handle)
        return SemaphoreResult::Failed;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return SemaphoreResult::AlreadyExists;
    // The handle of a new marker stays open until the process ends: the marker
    // exists exactly as long as this saver runs.
    handle.Release();
    return SemaphoreResult::Created;
}

} // namespace lumivane::win32
