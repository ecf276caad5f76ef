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

void WriteLists(ConfigDocument& doc, const std::vector<std::string>& screenList,
                const std::vector<std::string>& flashList) {
    for (std::size_t n = 0; n < screenList.size(); ++n)
        doc.WriteString(kScreenList, FileKey(static_cast<std::int64_t>(n)), screenList[n]);
    doc.WriteInteger(kAmount, "Total", static_cast<std::int32_t>(screenList.size()));
    for (std::size_t n = 0; n < flashList.size(); ++n)
        doc.WriteString(kFlashList, FileKey(static_cast<std::int64_t>(n)), flashList[n]);
    doc.WriteInteger(kAmount, "FlashTotal", static_cast<std::int32_t>(flashList.size()));
}

void WriteOptions(ConfigDocument& doc, std::int32_t activeTab, bool flashSize, bool includeSubFolders,
                  const VarietyOptions& variety) {
    doc.WriteInteger(kRandomWhat, "Type", activeTab);
    doc.WriteBool(kMisc, "FlashSize", flashSize);
    doc.WriteBool(kMisc, "Sub", includeSubFolders);
    if (variety.noRepeat || !doc.ReadString(kMisc, "NoRepeat").empty())
        doc.WriteBool(kMisc, "NoRepeat", variety.noRepeat);
    if (variety.changeEvery != 0 || !doc.ReadString(kMisc, "ChangeEvery").empty())
        doc.WriteInteger(kMisc, "ChangeEvery", variety.changeEvery);
}

VarietyOptions ReadVariety(const ConfigDocument& doc) {
    VarietyOptions variety;
    variety.noRepeat = doc.ReadBool(kMisc, "NoRepeat", false);
    variety.changeEvery = std::clamp(doc.ReadInteger(kMisc, "ChangeEvery", 0), 0, kLongestChangeEvery);
    return variety;
}

// The round's section is the list's own name, so the file reads like the lists.
const char* RoundSection(std::int32_t listKind) {
    return listKind == 0 ? kScreenList : listKind == 1 ? kFlashList : listKind == 2 ? kVideoList : nullptr;
}

Settings ReadSettings(const ConfigDocument& doc) {
    Settings s;
    s.screenCount = doc.ReadInteger(kAmount, "Total", 0);
    s.flashCount = doc.ReadInteger(kAmount, "FlashTotal", 0);
    s.screenList = doc.ReadList(kScreenList, s.screenCount);
    s.flashList = doc.ReadList(kFlashList, s.flashCount);
    for (int slot = 4; slot >= 0; --slot)
        s.recentFolders[static_cast<std::size_t>(slot)] = doc.ReadString(kRecentFolder, FolderKey(slot));
    s.listKind = doc.ReadInteger(kRandomWhat, "Type", 0);
    s.flashSize = doc.ReadBool(kMisc, "FlashSize", true);
    s.includeSubFolders = doc.ReadBool(kMisc, "Sub", true);
    s.variety = ReadVariety(doc);
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

void SaveLists(TConfigFile& file, const std::vector<std::string>& screenList, const std::vector<std::string>& flashList,
               std::int32_t& screenCount, std::int32_t& flashCount) {
    file.Update([&](ConfigDocument& doc) { WriteLists(doc, screenList, flashList); });
    screenCount = static_cast<std::int32_t>(screenList.size());
    flashCount = static_cast<std::int32_t>(flashList.size());
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

void SaveOptions(TConfigFile& file, std::int32_t activeTab, bool flashSize, bool includeSubFolders,
                 const VarietyOptions& variety) {
    file.Update([&](ConfigDocument& doc) { WriteOptions(doc, activeTab, flashSize, includeSubFolders, variety); });
}

void SaveListsAndOptions(TConfigFile& file, const std::vector<std::string>& screenList,
                         const std::vector<std::string>& flashList, std::int32_t& screenCount, std::int32_t& flashCount,
                         std::int32_t activeTab, bool flashSize, bool includeSubFolders,
                         const VarietyOptions& variety) {
    file.Update([&](ConfigDocument& doc) {
        WriteLists(doc, screenList, flashList);
        WriteOptions(doc, activeTab, flashSize, includeSubFolders, variety);
    });
    screenCount = static_cast<std::int32_t>(screenList.size());
    flashCount = static_cast<std::int32_t>(flashList.size());
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
    } else if (active.listKind == 2) {
        active.count = doc->ReadInteger(kAmount, "VideoTotal", 0);
        active.entries = doc->ReadList(kVideoList, active.count);
    }
    active.flashSize = doc->ReadBool(kMisc, "FlashSize", true);
    active.videoSound = doc->ReadBool(kMisc, "VideoSound", false);
    active.videoMonitors = doc->ReadInteger(kMisc, "VideoMonitors", 0);
    active.variety = ReadVariety(*doc);
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
