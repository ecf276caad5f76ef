// "Lumivane.ini": its location, value rules and the five operations through
// which both windows read and write it. Each operation reads the whole file once
// and a writing operation writes the whole new file once, both under the lock
// that every process of the program takes for the file's folder: a saver and
// two configuration windows may use the file at the same time, and each sees a
// whole file. A write gives the content, order and rules that one profile call
// per value would give (see ProfileDocument.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/FunctionRef.h"
#include "platform/Clock.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

namespace lumivane {

inline constexpr char kConfigFileName[] = "Lumivane.ini";
inline constexpr std::size_t kProfileBufferSize = 2048;
// A file held by another program (a backup or a virus scanner holds one for a
// moment) is read again for this long before the read counts as failed; the wait
// for another window's lock counts against the same time. The window runs none
// of its handlers meanwhile, and Windows calls a window that looks busy for 5 s
// "Not Responding": the waits end before that.
inline constexpr unsigned kReadRetryMs = 4500;
inline constexpr unsigned kReadRetryStepMs = 100;

// The configuration file's path for a program file: its folder (up to and
// including the last backslash) followed by "Lumivane.ini".
std::string ConfigPathFor(const std::string& programPath);

// One read of the file, with the value rules for reading and writing.
class ConfigDocument {
public:
    explicit ConfigDocument(ProfileDocument doc = {}, ProfileForm form = ProfileForm::Ansi)
        : doc_(std::move(doc)), form_(form) {}

    std::string ReadString(const std::string& section, const std::string& key) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // File0 .. File(count-1) of a list section, the non-empty values in order.
    std::vector<std::string> ReadList(const std::string& section, std::int32_t count) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    bool Changed() const { return changed_; }
    std::string Text() const { return doc_.Serialize(); }
    // The form the file was read in; a write keeps it.
    ProfileForm Form() const { return form_; }

private:
    ProfileDocument doc_;
    ProfileForm form_;
    bool changed_ = false;
};

// The file of one path. Writes that fail raise EIniFileException "Unable to write
// to <path>" and leave the file as it was.
class TConfigFile {
public:
    TConfigFile(ProfileFile& profile, std::string path, Clock& clock)
        : profile_(profile), path_(std::move(path)), clock_(clock) {}

    const std::string& Path() const { return path_; }

    // The whole file, read once; a missing file is an empty one. Empty when the
    // file stayed unreadable, or the lock stayed with another, for kReadRetryMs.
    std::optional<ConfigDocument> Read();
    // One writing operation: the file read afresh, edit applied to it, and the new
    // file written once if that changed anything, all under the lock. A file that
    // stays unreadable, or whose lock is not had, is not written over either.
    void Update(FunctionRef<void(ConfigDocument&)> edit);

private:
    // Reads under the lock until the file is read or the time is up; then runs
    // done on what was read, still under the lock. False when the time ran out
    // or the lock was not had.
    bool ReadLocked(FunctionRef<void(ConfigDocument&)> done);

    ProfileFile& profile_;
    std::string path_;
    Clock& clock_;
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

// The list kind of the video list; 0 is the screensaver list, 1 the Flash list.
inline constexpr std::int32_t kVideoKind = 2;

// How the saver spreads videos over the monitors; a stored value outside these
// reads as the first.
enum class VideoMonitors : std::int32_t { EachItsOwn = 0, SameOnAll = 1, OneAcrossAll = 2, MainOnly = 3 };
inline constexpr std::int32_t kVideoMonitorModes = 4;

// The saver's video options, off and "each its own" by default, written only
// once set, as the variety options are.
struct VideoOptions {
    bool sound = false;
    VideoMonitors monitors = VideoMonitors::EachItsOwn;
    bool operator==(const VideoOptions&) const = default;
};

// Everything the configuration window loads.
struct Settings {
    std::int32_t screenCount = 0;
    std::int32_t flashCount = 0;
    std::int32_t videoCount = 0;
    std::vector<std::string> screenList;
    std::vector<std::string> flashList;
    std::vector<std::string> videoList;
    RecentFolders recentFolders;
    std::int32_t listKind = 0;
    bool flashSize = true;
    bool includeSubFolders = true;
    VarietyOptions variety;
    VideoOptions video;
};

// What the screen window loads.
struct ActiveList {
    std::int32_t listKind = 0;
    std::int32_t count = 0; // the stored count of the active list (0 for other kinds)
    std::vector<std::string> entries;
    bool flashSize = true;
    VarietyOptions variety;
    VideoOptions video;
};

// Empty when the file could not be read.
std::optional<Settings> LoadSettings(TConfigFile& file);

// The three random lists and the counts last read or written, by list kind.
struct ListsToSave {
    const std::vector<std::string>& screenList;
    const std::vector<std::string>& flashList;
    const std::vector<std::string>& videoList;
};
struct ListCounts {
    std::int32_t screen = 0;
    std::int32_t flash = 0;
    std::int32_t video = 0;
};

// Writes the lists and their counts; the counts become the lists' lengths once
// the file is written. The video list is written only once it has an entry or
// its keys exist, so the file of a user who never keeps videos stays as it was.
void SaveLists(TConfigFile& file, const ListsToSave& lists, ListCounts& counts);

// Shifts the ring of recent folders and puts folder into slot 4.
void ShiftRecentFolders(RecentFolders& slots, const std::string& folder);
// Shifts the ring and writes all five slots.
void AddRecentFolder(TConfigFile& file, RecentFolders& slots, const std::string& folder);

// The options the configuration window stores when it closes.
struct OptionsToSave {
    std::int32_t activeTab = 0; // -1 when no tab is active
    bool flashSize = true;
    bool includeSubFolders = true;
    VarietyOptions variety{};
    VideoOptions video{};
};

// Type, FlashSize, Sub, NoRepeat, ChangeEvery, VideoSound, VideoMonitors.
void SaveOptions(TConfigFile& file, const OptionsToSave& options);

// The configuration window's close: SaveLists and then SaveOptions as one write.
void SaveListsAndOptions(TConfigFile& file, const ListsToSave& lists, ListCounts& counts, const OptionsToSave& options);

// Empty when the file could not be read.
std::optional<ActiveList> LoadActiveList(TConfigFile& file);

// The round of list kind 0 or 1 in the round file; empty for other kinds, and
// when the file could not be read (a round only steers the pick).
PlayedRound LoadRound(TConfigFile& roundFile, std::int32_t listKind);
void SaveRound(TConfigFile& roundFile, std::int32_t listKind, const PlayedRound& round);

} // namespace lumivane
