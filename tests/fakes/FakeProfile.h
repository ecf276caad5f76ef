// An in-memory profile file that follows the Windows profile rules (it is the
// host engine over a map of file texts), counts its calls and can be told to
// fail writes, as an unwritable program folder does.
#pragma once

#include <map>
#include <string>

#include "platform/ProfileEngine.h"

namespace lumivane::test {

class FakeProfile : public ProfileFile {
public:
    std::map<std::string, std::string> files; // path -> file text
    bool failWrites = false;
    int failAfterWrites = -1; // >= 0: that many writes succeed, then all fail
    int reads = 0, writes = 0, flushes = 0, sectionReads = 0;

    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<ProfileEntry> ReadSection(const std::string& path, const std::string& section) override;
    bool Flush(const std::string&) override {
        ++flushes;
        return true;
    }
};

} // namespace lumivane::test
