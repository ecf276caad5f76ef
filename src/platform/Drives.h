// Contract: the logical drives (GetLogicalDriveStrings, GetDriveType).
// Roots look like "D:\" and come in the system's order (by letter).
#pragma once

#include <string>
#include <vector>

namespace lumivane {

enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

class Drives {
public:
    virtual ~Drives() = default;
    virtual std::vector<std::string> LogicalDriveStrings() = 0;
    virtual DriveType TypeOf(const std::string& root) = 0;
};

} // namespace lumivane
