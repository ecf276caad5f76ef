// "Lumivane.ini" (see ConfigFile.h).
#include "config/ConfigFile.h"

#include <algorithm>
#include <map>

#include "common/Errors.h"
#include "common/IntegerText.h"

namespace lumivane {

namespace {

constexpr char kAmount[] = "Amount";
constexpr char kScreenList[] = "ScreenList";
constexpr char kFlashList[] = "FlashList";
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

} // namespace

std::string ConfigPathFor(const std::string& programPath) {
    const auto slash = programPath.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1)) + kConfigFileName;
}

std::string RoundPathFor(const std::string& configPath) {
    const auto slash = configPath.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : configPath.substr(0, slash + 1)) + kRoundFileName;
}

std::string TConfigFile::ReadString(const std::string& section, const std::string& key, const std::string& def) {
    return profile_.ReadString(path_, section, key, def, kProfileBufferSize);
}

std::int32_t TConfigFile::ReadInteger(const std::string& section, const std::string& key, std::int32_t def) {
    return StrToIntDef(ReadString(section, key), def);
}

bool TConfigFile::ReadBool(const std::string& section, const std::string& key, bool def) {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TConfigFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!profile_.WriteString(path_, section, key, value))
        throw EIniFileException("Unable to write to " + path_);
}

void TConfigFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TConfigFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TConfigFile::ReadList(const std::string& section, std::int32_t count) {
    std::vector<std::string> list;
    if (count <= 0)
        return list;
    // One read of the whole section, then each FileN looked up as the profile
    // functions would: the first of keys with the same name wins, a value wrapped
    // in matching quotes loses them, and it is cut to what a read buffer holds.
    // Only the keys that exist are visited, so an absurd count such as 2147483647
    // costs nothing, and a long list costs one call instead of one per entry.
    std::map<std::int64_t, std::string> byIndex;
    for (auto& entry : profile_.ReadSection(path_, section)) {
        const std::int64_t index = FileKeyIndex(entry.name);
        if (index >= 0 && index < count)
            byIndex.try_emplace(index, std::move(entry.value));
    }
    for (auto& [index, value] : byIndex) {
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.size() > kProfileBufferSize - 1)
            value.resize(kProfileBufferSize - 1);
        if (!value.empty())
            list.push_back(std::move(value));
    }
    return list;
}

void TConfigFile::Flush() {
    profile_.Flush(path_);
}

namespace {

VarietyOptions LoadVariety(TConfigFile& file) {
    VarietyOptions variety;
    variety.noRepeat = file.ReadBool(kMisc, "NoRepeat", false);
    variety.changeEvery = std::clamp(file.ReadInteger(kMisc, "ChangeEvery", 0), 0, kLongestChangeEvery);
    return variety;
}

// The round's section is the list's own name, so the file reads like the lists.
const char* RoundSection(std::int32_t listKind) {
    return listKind == 0 ? kScreenList : listKind == 1 ? kFlashList : nullptr;
}

} // namespace

Settings LoadSettings(TConfigFile& file) {
    Settings s;
    s.screenCount = file.ReadInteger(kAmount, "Total", 0);
    s.flashCount = file.ReadInteger(kAmount, "FlashTotal", 0);
    s.screenList = file.ReadList(kScreenList, s.screenCount);
    s.flashList = file.ReadList(kFlashList, s.flashCount);
    for (int slot = 4; slot >= 0; --slot)
        s.recentFolders[slot] = file.ReadString(kRecentFolder, FolderKey(slot));
    s.listKind = file.ReadInteger(kRandomWhat, "Type", 0);
    s.flashSize = file.ReadBool(kMisc, "FlashSize", true);
    s.includeSubFolders = file.ReadBool(kMisc, "Sub", true);
    s.variety = LoadVariety(file);
    return s;
}

void SaveLists(TConfigFile& file, const std::vector<std::string>& screenList, const std::vector<std::string>& flashList,
               std::int32_t& screenCount, std::int32_t& flashCount) {
    for (std::size_t n = 0; n < screenList.size(); ++n)
        file.WriteString(kScreenList, FileKey(static_cast<std::int64_t>(n)), screenList[n]);
    file.WriteInteger(kAmount, "Total", static_cast<std::int32_t>(screenList.size()));
    screenCount = static_cast<std::int32_t>(screenList.size());
    for (std::size_t n = 0; n < flashList.size(); ++n)
        file.WriteString(kFlashList, FileKey(static_cast<std::int64_t>(n)), flashList[n]);
    file.WriteInteger(kAmount, "FlashTotal", static_cast<std::int32_t>(flashList.size()));
    flashCount = static_cast<std::int32_t>(flashList.size());
}

void AddRecentFolder(TConfigFile& file, RecentFolders& slots, const std::string& folder) {
    for (int slot = 0; slot < 4; ++slot)
        slots[slot] = slots[slot + 1];
    slots[4] = folder;
    for (int slot = 0; slot <= 4; ++slot)
        file.WriteString(kRecentFolder, FolderKey(slot), slots[slot]);
}

void SaveOptions(TConfigFile& file, std::int32_t activeTab, bool flashSize, bool includeSubFolders,
                 const VarietyOptions& variety) {
    file.WriteInteger(kRandomWhat, "Type", activeTab);
    file.WriteBool(kMisc, "FlashSize", flashSize);
    file.WriteBool(kMisc, "Sub", includeSubFolders);
    if (variety.noRepeat || !file.ReadString(kMisc, "NoRepeat").empty())
        file.WriteBool(kMisc, "NoRepeat", variety.noRepeat);
    if (variety.changeEvery != 0 || !file.ReadString(kMisc, "ChangeEvery").empty())
        file.WriteInteger(kMisc, "ChangeEvery", variety.changeEvery);
}

ActiveList LoadActiveList(TConfigFile& file) {
    ActiveList active;
    active.listKind = file.ReadInteger(kRandomWhat, "Type", 0);
    if (active.listKind == 0) {
        active.count = file.ReadInteger(kAmount, "Total", 0);
        active.entries = file.ReadList(kScreenList, active.count);
    } else if (active.listKind == 1) {
        active.count = file.ReadInteger(kAmount, "FlashTotal", 0);
        if (active.count > 0)
            active.entries = file.ReadList(kFlashList, active.count);
    }
    active.flashSize = file.ReadBool(kMisc, "FlashSize", true);
    active.variety = LoadVariety(file);
    return active;
}

PlayedRound LoadRound(TConfigFile& roundFile, std::int32_t listKind) {
    PlayedRound round;
    if (const char* section = RoundSection(listKind)) {
        round.played = roundFile.ReadList(section, roundFile.ReadInteger(section, "Count", 0));
        round.last = roundFile.ReadString(section, "Last");
    }
    return round;
}

void SaveRound(TConfigFile& roundFile, std::int32_t listKind, const PlayedRound& round) {
    const char* section = RoundSection(listKind);
    if (!section)
        return;
    for (std::size_t n = 0; n < round.played.size(); ++n)
        roundFile.WriteString(section, FileKey(static_cast<std::int64_t>(n)), round.played[n]);
    roundFile.WriteInteger(section, "Count", static_cast<std::int32_t>(round.played.size()));
    roundFile.WriteString(section, "Last", round.last);
}

} // namespace lumivane
