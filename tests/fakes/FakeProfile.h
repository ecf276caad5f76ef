// An in-memory profile file: a map of file texts (UTF-8, as read) behind the
// profile file contract. It counts reads and writes, keeps the form each file
// was last given, checks that every write happens under the lock, and can be
// told to fail writes (an unwritable program folder), to find a file held by
// another program for a number of reads, or to give no lock (a holder that hangs).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

namespace lumivane::test {

class FakeProfile : public ProfileFile {
public:
    std::map<std::string, std::string> files; // path -> file text
    std::map<std::string, ProfileForm> forms; // path -> form, Ansi when not given
    bool failWrites = false;
    bool failLocks = false;
    int unreadableReads = 0; // reads of an existing file that fail first; -1: all
    int reads = 0, writes = 0, locks = 0, unlockedWrites = 0;
    std::vector<unsigned> lockWaits; // the longest wait each lock was given

    ProfileText Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& text, ProfileForm form) override;
    std::unique_ptr<ProfileLock> Lock(const std::string& path, unsigned milliseconds) override;

    // What one profile read of the value gives, def when it is missing.
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& def = "") const;

private:
    int held_ = 0;
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
        return profile.ReadString(iniPath, section, key, "<missing>");
    }
};

} // namespace lumivane::test
