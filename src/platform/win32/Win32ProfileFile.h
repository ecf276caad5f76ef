// The profile (INI) file contract over GetPrivateProfileStringA and its kin.
#pragma once

#include <windows.h>

#include "platform/ProfileFile.h"

namespace lumivane::win32 {

class Win32ProfileFile : public ProfileFile {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<ProfileEntry> ReadSection(const std::string& path, const std::string& section) override;
    bool Flush(const std::string& path) override;
};

} // namespace lumivane::win32
