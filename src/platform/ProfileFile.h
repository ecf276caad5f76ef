// Contract: the profile (INI) file functions, as GetPrivateProfileStringA and
// WritePrivateProfileStringA behave on Windows.
// - Paths, sections, keys and values are ANSI byte strings; section and key names
//   match without regard to ASCII case.
// - ReadString returns at most bufferSize - 1 bytes of the stored value, or the
//   default when the file, section or key is missing. Reads never fail.
// - WriteString replaces an existing key in place, adds a new key at the end of its
//   section and a new section at the end of the file; it creates the file. It
//   returns false when the file cannot be written.
// - KeyNames lists the key names of a section in file order (empty when missing).
// - Flush asks the platform to write any cached profile data of the file to disk.
#pragma once

#include <string>
#include <vector>

namespace lumivane {

class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    virtual std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize) = 0;
    virtual bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual std::vector<std::string> KeyNames(const std::string& path, const std::string& section) = 0;
    virtual bool Flush(const std::string& path) = 0;
};

} // namespace lumivane
