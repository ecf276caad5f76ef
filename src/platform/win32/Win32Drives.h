// The drives contract over GetLogicalDriveStrings and GetDriveType.
#pragma once

#include <windows.h>

#include "platform/Drives.h"

namespace lumivane::win32 {

class Win32Drives : public Drives {
public:
    std::vector<std::string> LogicalDriveStrings() override;
    DriveType TypeOf(const std::string& root) override;
};

} // namespace lumivane::win32
