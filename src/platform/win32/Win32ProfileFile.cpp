// The profile (INI) file contract over GetPrivateProfileStringA and its kin (see Win32ProfileFile.h).
#include "platform/win32/Win32ProfileFile.h"

#include <cstring>

namespace lumivane::win32 {

std::string Win32ProfileFile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize) {
    std::string buffer(bufferSize, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             static_cast<DWORD>(bufferSize), path.c_str());
    buffer.resize(n);
    return buffer;
}

bool Win32ProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

std::vector<ProfileEntry> Win32ProfileFile::ReadSection(const std::string& path, const std::string& section) {
    // The lines come terminated one after another; the function reports size - 2
    // when the buffer was too small.
    std::vector<char> buffer(1u << 16);
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        if (n + 2 < buffer.size() || buffer.size() >= (256u << 20))
            break;
        buffer.resize(buffer.size() * 4);
    }
    std::vector<ProfileEntry> entries;
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = std::strlen(buffer.data() + i);
        if (len == 0)
            break;
        const std::string line(buffer.data() + i, len);
        const auto eq = line.find('=');
        entries.push_back(eq == std::string::npos ? ProfileEntry{line, ""}
                                                  : ProfileEntry{line.substr(0, eq), line.substr(eq + 1)});
        i += len + 1;
    }
    return entries;
}

bool Win32ProfileFile::Flush(const std::string& path) {
    return WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()) != FALSE;
}

} // namespace lumivane::win32
