// Contract: the profile (INI) file functions, as GetPrivateProfileStringA and
// WritePrivateProfileStringA behave on Windows.
// - Paths, sections, keys and values are ANSI byte strings; section and key names
//   match without regard to ASCII case.
// - ReadString returns at most bufferSize - 1 bytes of the stored value, or the
//   default when the file, section or key is missing. Reads never fail.
// - WriteString replaces an existing key in place, adds a new key at the end of its
//   section and a new section at the end of the file; it creates the file. It
//   returns false when the file cannot be written.
// - ReadSection lists a section's lines in file order, as GetPrivateProfileSectionA
//   does: each key name with its value as stored (quotes kept, no length cut); a
//   line without "=" has an empty value. Empty when the file or section is missing.
// - Flush asks the platform to write any cached profile data of the file to disk.
#pragma once

#include <string>
#include <vector>

namespace lumivane {

struct ProfileEntry {
    std::string name;
    std::string value;
    bool operator==(const ProfileEntry&) const = default;
};

class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    virtual std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize) = 0;
    virtual bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual std::vector<ProfileEntry> ReadSection(const std::string& path, const std::string& section) = 0;
    virtual bool Flush(const std::string& path) = 0;
};

} // namespace lumivane
