// In-memory profile file (see FakeProfile.h).
#include "fakes/FakeProfile.h"

namespace lumivane::test {

std::string FakeProfile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize) {
    ++reads;
    std::string value = defaultValue;
    auto it = files.find(path);
    if (it != files.end()) {
        const ProfileDocument doc = ProfileDocument::Parse(it->second);
        if (const std::string* found = doc.Find(section, key))
            value = *found;
    }
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool FakeProfile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& value) {
    if (failWrites || failAfterWrites == 0)
        return false;
    if (failAfterWrites > 0)
        --failAfterWrites;
    ++writes;
    auto doc = ProfileDocument::Parse(files[path]);
    doc.Set(section, key, value);
    files[path] = doc.Serialize();
    return true;
}

std::vector<ProfileEntry> FakeProfile::ReadSection(const std::string& path, const std::string& section) {
    ++sectionReads;
    auto it = files.find(path);
    return it == files.end() ? std::vector<ProfileEntry>{} : ProfileDocument::Parse(it->second).Entries(section);
}

} // namespace lumivane::test
