// The drives contract over GetLogicalDriveStrings and GetDriveType (see Win32Drives.h).
#include "platform/win32/Win32Drives.h"

#include <cstring>

namespace lumivane::win32 {

std::vector<std::string> Win32Drives::LogicalDriveStrings() {
    char buffer[256] = {};
    const DWORD n = GetLogicalDriveStringsA(sizeof buffer, buffer);
    std::vector<std::string> roots;
    if (n == 0 || n > sizeof buffer)
        return roots;
    for (const char* p = buffer; *p; p += std::strlen(p) + 1)
        roots.emplace_back(p);
    return roots;
}

DriveType Win32Drives::TypeOf(const std::string& root) {
    const UINT type = GetDriveTypeA(root.c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

} // namespace lumivane::win32
