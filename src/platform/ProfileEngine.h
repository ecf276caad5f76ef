// A profile-file engine for hosts without the Windows profile functions: the
// unit tests, the fuzz targets and any non-Windows build use it. It follows the
// Windows rules that the program relies on (see ProfileFile.h): names match
// without regard to ASCII case, the first of duplicate sections or keys wins,
// blanks around names and values are dropped, a value wrapped in one pair of
// matching quotes loses them on reading, and lines without "=" are kept as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileFile.h"

namespace lumivane {

class ProfileDocument {
public:
    static ProfileDocument Parse(std::string_view text);
    std::string Serialize() const;

    // nullptr when the section or key is missing.
    const std::string* Find(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    std::vector<ProfileEntry> Entries(std::string_view section) const;

private:
    struct Entry {
        std::string name;
        std::string value;
        bool hasValue = true; // false for a line without "="
    };
    struct Section {
        std::string name;
        bool hasHeader = true; // false for lines before the first section
        std::vector<Entry> entries;
    };
    const Section* FindSection(std::string_view name) const;
    std::vector<Section> sections_;
};

// ProfileFile over real files: every call reads (and a write rewrites) the file.
class HostProfileFile : public ProfileFile {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<ProfileEntry> ReadSection(const std::string& path, const std::string& section) override;
    bool Flush(const std::string& path) override;
};

} // namespace lumivane
