// "Lumivane.ini": its location, value rules and the five operations through
// which both windows read and write it. Every read and write is one call to the
// profile functions; nothing is cached, so a saver and a configuration window can
// use the file at the same time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"

namespace lumivane {

inline constexpr char kConfigFileName[] = "Lumivane.ini";
inline constexpr std::size_t kProfileBufferSize = 2048;

// The configuration file's path for a program file: its folder (up to and
// including the last backslash) followed by "Lumivane.ini".
std::string ConfigPathFor(const std::string& programPath);

// Value rules over the profile functions. Writes that fail raise
// EIniFileException "Unable to write to <path>".
class TConfigFile {
public:
    TConfigFile(ProfileFile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def = "");
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def);
    bool ReadBool(const std::string& section, const std::string& key, bool def);

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Reads File0 .. File(count-1) of a list section, keeping the non-empty values,
    // with the same result as one read per key.
    std::vector<std::string> ReadList(const std::string& section, std::int32_t count);

    // Asks the platform to write cached profile data to disk (the release of the
    // configuration window's file object).
    void Flush();

private:
    ProfileFile& profile_;
    std::string path_;
};

using RecentFolders = std::array<std::string, 5>; // slot 4 the newest

// The longest "ChangeEvery" the saver takes, a week; a larger stored value
// counts as this.
inline constexpr std::int32_t kLongestChangeEvery = 7 * 24 * 60;

// The saver's variety options, both off by default, which is the saver as it
// always was. They are written only once set, so a file of a user who never
// sets them stays as it was.
struct VarietyOptions {
    bool noRepeat = false;        // every entry once before any repeats
    std::int32_t changeEvery = 0; // minutes of one entry before the next; 0 never
    bool operator==(const VarietyOptions&) const = default;
};

// The no-repeat round of one list: the entries played in it, oldest first, and
// the one that played last (kept when a new round begins).
struct PlayedRound {
    std::vector<std::string> played;
    std::string last;
};

// The round lives in a file of its own beside "Lumivane.ini", so that the
// saver, which writes it at every start, never writes the file that holds the
// user's lists.
inline constexpr char kRoundFileName[] = "LumivaneRound.ini";
std::string RoundPathFor(const std::string& configPath);

// Everything the configuration window loads.
struct Settings {
    std::int32_t screenCount = 0;
    std::int32_t flashCount = 0;
    std::vector<std::string> screenList;
    std::vector<std::string> flashList;
    RecentFolders recentFolders;
    std::int32_t listKind = 0;
    bool flashSize = true;
    bool includeSubFolders = true;
    VarietyOptions variety;
};

// What the screen window loads.
struct ActiveList {
    std::int32_t listKind = 0;
    std::int32_t count = 0; // the stored count of the active list (0 for other kinds)
    std::vector<std::string> entries;
    bool flashSize = true;
    VarietyOptions variety;
};

Settings LoadSettings(TConfigFile& file);

// Writes both lists and their counts; the counts become the lists' lengths.
void SaveLists(TConfigFile& file, const std::vector<std::string>& screenList, const std::vector<std::string>& flashList,
               std::int32_t& screenCount, std::int32_t& flashCount);

// Shifts the ring of recent folders, puts folder into slot 4 and writes all five.
void AddRecentFolder(TConfigFile& file, RecentFolders& slots, const std::string& folder);

// Type (-1 when no tab is active), FlashSize, Sub, NoRepeat, ChangeEvery.
void SaveOptions(TConfigFile& file, std::int32_t activeTab, bool flashSize, bool includeSubFolders,
                 const VarietyOptions& variety);

ActiveList LoadActiveList(TConfigFile& file);

// The round of list kind 0 or 1 in the round file; empty for other kinds.
PlayedRound LoadRound(TConfigFile& roundFile, std::int32_t listKind);
void SaveRound(TConfigFile& roundFile, std::int32_t listKind, const PlayedRound& round);

} // namespace lumivane
