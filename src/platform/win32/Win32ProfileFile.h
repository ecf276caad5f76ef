// The profile file contract over the file API: one ReadFile of the whole file, a
// new file beside it renamed over the old one with MoveFileEx (write-through),
// and a named mutex per folder as the lock between the program's processes. Each
// write first removes the drafts that processes ended in the middle of a write
// left beside the file. The W functions take paths of any length; the ANSI code
// page is the system's.
#pragma once

#include <windows.h>

#include "platform/ProfileFile.h"
#include "platform/win32/Win32TextCodec.h"

namespace lumivane::win32 {

class Win32ProfileFile : public ProfileFile {
public:
    ProfileText Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& text, ProfileForm form) override;
    std::unique_ptr<ProfileLock> Lock(const std::string& path, unsigned milliseconds) override;

private:
    Win32TextCodec codec_;
    unsigned tempSerial_ = 0;
};

} // namespace lumivane::win32
