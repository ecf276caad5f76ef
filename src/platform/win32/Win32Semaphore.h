// The single-instance marker over a named semaphore.
#pragma once

#include <windows.h>

#include "platform/Semaphore.h"

namespace lumivane::win32 {

class Win32Semaphore : public Semaphore {
public:
    SemaphoreResult CreateOrOpen(const std::string& name) override;
};

} // namespace lumivane::win32
