// An in-memory profile file that follows the Windows profile rules (it is the
// host engine over a map of file texts), counts its calls and can be told to
// fail writes, as an unwritable program folder does.
#pragma once

#include <map>
#include <string>
#include <vector>

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

inline const std::string kIni = "C:\\Lumivane\\Lumivane.ini";

// The program's configuration file in a fake profile, as every window fixture
// holds it: set its text, or build it from the two lists as the configuration
// window saves them, and read back what a window stored.
struct FakeIniFile {
    explicit FakeIniFile(std::string iniPath = kIni) : iniPath(std::move(iniPath)) {}

    std::string iniPath;
    FakeProfile profile;

    void Ini(const std::string& text) { profile.files[iniPath] = text; }
    void Lists(const std::vector<std::string>& screens, const std::vector<std::string>& flashes,
               const std::string& extra = "") {
        std::string text = "[Amount]\r\nTotal=" + std::to_string(screens.size()) +
                           "\r\nFlashTotal=" + std::to_string(flashes.size()) + "\r\n[ScreenList]\r\n";
        for (std::size_t i = 0; i < screens.size(); ++i)
            text += "File" + std::to_string(i) + "=" + screens[i] + "\r\n";
        text += "[FlashList]\r\n";
        for (std::size_t i = 0; i < flashes.size(); ++i)
            text += "File" + std::to_string(i) + "=" + flashes[i] + "\r\n";
        Ini(text + extra);
    }
    std::string Stored(const std::string& section, const std::string& key) {
        return profile.ReadString(iniPath, section, key, "<missing>", 2048);
    }
};

} // namespace lumivane::test
