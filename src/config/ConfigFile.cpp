// "Lumivane.ini" (see ConfigFile.h).
#include "config/ConfigFile.h"

#include <algorithm>
#include <map>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "common/PathText.h"

namespace lumivane {

namespace {

constexpr char kAmount[] = "Amount";
constexpr char kScreenList[] = "ScreenList";
constexpr char kFlashList[] = "FlashList";
constexpr char kVideoList[] = "VideoList";
constexpr char kRecentFolder[] = "RecentFolder";
constexpr char kRandomWhat[] = "RandomWhat";
constexpr char kMisc[] = "Misc";

std::string FileKey(std::int64_t index) {
    return "File" + std::to_string(index);
}
std::string FolderKey(int slot) {
    return "FolderName" + std::to_string(slot);
}

// The index N of a key that the profile functions would match as "FileN":
// "file12" and "FILE12" count, "File012" and "File+1" do not.
std::int64_t FileKeyIndex(const std::string& name) {
    if (name.size() < 5 || name.size() > 14)
        return -1;
    for (int i = 0; i < 4; ++i)
        if ((name[i] | 0x20) != "file"[i])
            return -1;
    const std::string digits = name.substr(4);
    if (digits.size() > 1 && digits[0] == '0')
        return -1;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

void WriteList(ConfigDocument& doc, const char* section, const char* countKey, const std::vector<std::string>& list) {
    for (std::size_t n = 0; n < list.size(); ++n)
        doc.WriteString(section, FileKey(static_cast<std::int64_t>(n)), list[n]);
    doc.WriteInteger(kAmount, countKey, static_cast<std::int32_t>(list.size()));
}

// A key that holds a value: one written before, or one the user typed in.
bool Present(const ConfigDocument& doc, const char* section, const char* key) {
    return !doc.ReadString(section, key).empty();
}

void WriteLists(ConfigDocument& doc, const ListsToSave& lists) {
    WriteList(doc, kScreenList, "Total", lists.screenList);
    WriteList(doc, kFlashList, "FlashTotal", lists.flashList);
    if (!lists.videoList.empty() || Present(doc, kAmount, "VideoTotal"))
        WriteList(doc, kVideoList, "VideoTotal", lists.videoList);
}

void StoreCounts(const ListsToSave& lists, ListCounts& counts) {
    counts.screen = static_cast<std::int32_t>(lists.screenList.size());
    counts.flash = static_cast<std::int32_t>(lists.flashList.size());
    counts.video = static_cast<std::int32_t>(lists.videoList.size());
}

void WriteOptions(ConfigDocument& doc, const OptionsToSave& options) {
    doc.WriteInteger(kRandomWhat, "Type", options.activeTab);
    doc.WriteBool(kMisc, "FlashSize", options.flashSize);
    doc.WriteBool(kMisc, "Sub", options.includeSubFolders);
    if (options.variety.noRepeat || Present(doc, kMisc, "NoRepeat"))
        doc.WriteBool(kMisc, "NoRepeat", options.variety.noRepeat);
    if (options.variety.changeEvery != 0 || Present(doc, kMisc, "ChangeEvery"))
        doc.WriteInteger(kMisc, "ChangeEvery", options.variety.changeEvery);
    if (options.video.sound || Present(doc, kMisc, "VideoSound"))
        doc.WriteBool(kMisc, "VideoSound", options.video.sound);
    if (options.video.monitors != VideoMonitors::EachItsOwn || Present(doc, kMisc, "VideoMonitors"))
        doc.WriteInteger(kMisc, "VideoMonitors", static_cast<std::int32_t>(options.video.monitors));
}

VarietyOptions ReadVariety(const ConfigDocument& doc) {
    VarietyOptions variety;
    variety.noRepeat = doc.ReadBool(kMisc, "NoRepeat", false);
    variety.changeEvery = std::clamp(doc.ReadInteger(kMisc, "ChangeEvery", 0), 0, kLongestChangeEvery);
    return variety;
}

VideoOptions ReadVideo(const ConfigDocument& doc) {
    VideoOptions video;
    video.sound = doc.ReadBool(kMisc, "VideoSound", false);
    const std::int32_t monitors = doc.ReadInteger(kMisc, "VideoMonitors", 0);
    if (monitors > 0 && monitors < kVideoMonitorModes)
        video.monitors = static_cast<VideoMonitors>(monitors);
    return video;
}

// The round's section is the list's own name, so the file reads like the lists.
const char* RoundSection(std::int32_t listKind) {
    return listKind == 0 ? kScreenList : listKind == 1 ? kFlashList : listKind == kVideoKind ? kVideoList : nullptr;
}

Settings ReadSettings(const ConfigDocument& doc) {
    Settings s;
    s.screenCount = doc.ReadInteger(kAmount, "Total", 0);
    s.flashCount = doc.ReadInteger(kAmount, "FlashTotal", 0);
    s.videoCount = doc.ReadInteger(kAmount, "VideoTotal", 0);
    s.screenList = doc.ReadList(kScreenList, s.screenCount);
    s.flashList = doc.ReadList(kFlashList, s.flashCount);
    s.videoList = doc.ReadList(kVideoList, s.videoCount);
    for (int slot = 4; slot >= 0; --slot)
        s.recentFolders[static_cast<std::size_t>(slot)] = doc.ReadString(kRecentFolder, FolderKey(slot));
    s.listKind = doc.ReadInteger(kRandomWhat, "Type", 0);
    s.flashSize = doc.ReadBool(kMisc, "FlashSize", true);
    s.includeSubFolders = doc.ReadBool(kMisc, "Sub", true);
    s.variety = ReadVariety(doc);
    s.video = ReadVideo(doc);
    return s;
}

} // namespace

std::string ConfigPathFor(const std::string& programPath) {
    return ExtractFilePath(programPath) + kConfigFileName;
}

std::string RoundPathFor(const std::string& configPath) {
    return ExtractFilePath(configPath) + kRoundFileName;
}

std::string ConfigDocument::ReadString(const std::string& section, const std::string& key) const {
    const std::string* value = doc_.Find(section, key);
    return value ? ProfileReadValue(*value, kProfileBufferSize) : std::string();
}

std::int32_t ConfigDocument::ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const {
    return StrToIntDef(ReadString(section, key), def);
}

bool ConfigDocument::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> ConfigDocument::ReadList(const std::string& section, std::int32_t count) const {
    std::vector<std::string> list;
    if (count <= 0)
        return list;
    // Each FileN looked up as the profile functions would: the first key of the
    // name wins (one without value reads as empty). Only the keys that exist are
    // visited, so an absurd count such as 2147483647 costs nothing.
    // Keyed by the index in fixed-width decimal, which sorts as the numbers do.
    const std::span<const ProfileLine> lines = doc_.Lines(section);
    std::map<std::string, std::size_t> byIndex;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::int64_t index = FileKeyIndex(lines[n].name);
        if (index >= 0 && index < count) {
            std::string key = std::to_string(index);
            byIndex.try_emplace(std::string(10 - key.size(), '0') + key, n);
        }
    }
    list.reserve(byIndex.size());
    for (const auto& [index, n] : byIndex)
        if (std::string value = ProfileReadValue(lines[n].value, kProfileBufferSize); !value.empty())
            list.push_back(std::move(value));
    return list;
}

void ConfigDocument::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!doc_.Set(section, key, value))
        return;
    // One profile call per value reads back the file that the first changing call
    // wrote: what does not survive writing and reading again (a line holding only
    // a NUL, the keys of a "[]" section joining the section above) is gone for
    // every later value. Once written and read, the document stays as it is.
    if (!changed_)
        doc_ = ProfileDocument::Parse(doc_.Serialize());
    changed_ = true;
}

void ConfigDocument::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void ConfigDocument::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool TConfigFile::ReadLocked(FunctionRef<void(ConfigDocument&)> done) {
    const std::uint64_t start = clock_.Milliseconds();
    for (;;) {
        {
            // The lock's wait and the retries share one budget, so that the window
            // waiting here is never taken for a hung one.
            const std::uint64_t waited = clock_.Milliseconds() - start;
            const auto lock = profile_.Lock(path_, waited >= kReadRetryMs ? 0 : kReadRetryMs - unsigned(waited));
            if (!lock->Held())
                return false;
            ProfileText file = profile_.Read(path_);
            if (file.status != ProfileRead::Unreadable) {
                ConfigDocument doc(ProfileDocument::Parse(file.text), file.form);
                done(doc);
                return true;
            }
        }
        if (clock_.Milliseconds() - start >= kReadRetryMs)
            return false;
        clock_.Sleep(kReadRetryStepMs);
    }
}

std::optional<ConfigDocument> TConfigFile::Read() {
    std::optional<ConfigDocument> result;
    ReadLocked([&](ConfigDocument& doc) { result = std::move(doc); });
    return result;
}

void TConfigFile::Update(FunctionRef<void(ConfigDocument&)> edit) {
    bool written = true;
    const bool read = ReadLocked([&](ConfigDocument& doc) {
        edit(doc);
        if (doc.Changed())
            written = profile_.Replace(path_, doc.Text(), doc.Form());
    });
    if (!read || !written)
        throw EIniFileException("Unable to write to " + path_);
}

std::optional<Settings> LoadSettings(TConfigFile& file) {
    const std::optional<ConfigDocument> doc = file.Read();
    if (!doc)
        return std::nullopt;
    return ReadSettings(*doc);
}

void SaveLists(TConfigFile& file, const ListsToSave& lists, ListCounts& counts) {
    file.Update([&](ConfigDocument& doc) { WriteLists(doc, lists); });
    StoreCounts(lists, counts);
}

void ShiftRecentFolders(RecentFolders& slots, const std::string& folder) {
    for (std::size_t slot = 0; slot < 4; ++slot)
        slots[slot] = slots[slot + 1];
    slots[4] = folder;
}

void AddRecentFolder(TConfigFile& file, RecentFolders& slots, const std::string& folder) {
    ShiftRecentFolders(slots, folder);
    file.Update([&](ConfigDocument& doc) {
        for (int slot = 0; slot <= 4; ++slot)
            doc.WriteString(kRecentFolder, FolderKey(slot), slots[static_cast<std::size_t>(slot)]);
    });
}

void SaveOptions(TConfigFile& file, const OptionsToSave& options) {
    file.Update([&](ConfigDocument& doc) { WriteOptions(doc, options); });
}

void SaveListsAndOptions(TConfigFile& file, const ListsToSave& lists, ListCounts& counts,
                         const OptionsToSave& options) {
    file.Update([&](ConfigDocument& doc) {
        WriteLists(doc, lists);
        WriteOptions(doc, options);
    });
    StoreCounts(lists, counts);
}

std::optional<ActiveList> LoadActiveList(TConfigFile& file) {
    const std::optional<ConfigDocument> doc = file.Read();
    if (!doc)
        return std::nullopt;
    ActiveList active;
    active.listKind = doc->ReadInteger(kRandomWhat, "Type", 0);
    if (active.listKind == 0) {
        active.count = doc->ReadInteger(kAmount, "Total", 0);
        active.entries = doc->ReadList(kScreenList, active.count);
    } else if (active.listKind == 1) {
        active.count = doc->ReadInteger(kAmount, "FlashTotal", 0);
        active.entries = doc->ReadList(kFlashList, active.count);
    } else if (active.listKind == kVideoKind) {
        active.count = doc->ReadInteger(kAmount, "VideoTotal", 0);
        active.entries = doc->ReadList(kVideoList, active.count);
    }
    active.flashSize = doc->ReadBool(kMisc, "FlashSize", true);
    active.variety = ReadVariety(*doc);
    active.video = ReadVideo(*doc);
    return active;
}

PlayedRound LoadRound(TConfigFile& roundFile, std::int32_t listKind) {
    PlayedRound round;
    const char* section = RoundSection(listKind);
    const std::optional<ConfigDocument> doc = section ? roundFile.Read() : std::nullopt;
    if (doc) {
        round.played = doc->ReadList(section, doc->ReadInteger(section, "Count", 0));
        round.last = doc->ReadString(section, "Last");
    }
    return round;
}

void SaveRound(TConfigFile& roundFile, std::int32_t listKind, const PlayedRound& round) {
    const char* section = RoundSection(listKind);
    if (!section)
        return;
    roundFile.Update([&](ConfigDocument& doc) {
        for (std::size_t n = 0; n < round.played.size(); ++n)
            doc.WriteString(section, FileKey(static_cast<std::int64_t>(n)), round.played[n]);
        doc.WriteInteger(section, "Count", static_cast<std::int32_t>(round.played.size()));
        doc.WriteString(section, "Last", round.last);
    });
}

} // namespace lumivane
