// The profile file contract over the file API: one ReadFile of the whole file, a
// new file beside it renamed over the old one with MoveFileEx (write-through),
// and a named mutex per folder as the lock between the program's processes.
#pragma once

#include <windows.h>

#include "platform/ProfileFile.h"

namespace lumivane::win32 {

class Win32ProfileFile : public ProfileFile {
public:
    ProfileBytes Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& bytes) override;
    std::unique_ptr<ProfileLock> Lock(const std::string& path) override;

private:
    unsigned tempSerial_ = 0;
};

} // namespace lumivane::win32
