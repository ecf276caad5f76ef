// Contract: a named semaphore used as a single-instance marker. The marker lives
// as long as the process that created it; it is never waited on or released.
#pragma once

#include <string>

namespace lumivane {

enum class SemaphoreResult {
    Created,       // the object is new: this process holds the marker
    AlreadyExists, // another process holds it (the handle was closed again)
    Failed         // no handle came back
};

class Semaphore {
public:
    virtual ~Semaphore() = default;
    virtual SemaphoreResult CreateOrOpen(const std::string& name) = 0;
};

} // namespace lumivane
