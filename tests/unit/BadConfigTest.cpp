// The bad-file corpus (contract/BadIniCorpus.h): each file must load to what the
// value rules give (defaults where a value is unreadable), the same in memory and
// through the host's files on disk, in one read of the file, and both windows
// must still open on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "common/HelpText.h"
#include "config/ConfigFile.h"
#include "contract/BadIniCorpus.h"
#include "fakes/FakeMainWidgets.h"
#include "fakes/FakeScreenForm.h"
#include "platform/host/HostProfileFile.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

// What the screen window reads of a file that LoadSettings reads as want.
std::vector<std::string> ActiveEntries(const Want& want) {
    if (want.listKind == 0)
        return want.screenList;
    if (want.listKind == 1)
        return want.flashList;
    return {};
}

void ExpectSettings(const Settings& got, const Want& want) {
    EXPECT_EQ(got.screenCount, want.screenCount);
    EXPECT_EQ(got.flashCount, want.flashCount);
    EXPECT_EQ(got.screenList, want.screenList);
    EXPECT_EQ(got.flashList, want.flashList);
    EXPECT_EQ(got.listKind, want.listKind);
    EXPECT_EQ(got.flashSize, want.flashSize);
    EXPECT_EQ(got.includeSubFolders, want.sub);
    EXPECT_EQ(got.recentFolders[4], want.newestFolder);
}

void ExpectActiveList(const ActiveList& got, const Want& want) {
    EXPECT_EQ(got.listKind, want.listKind);
    EXPECT_EQ(got.entries, ActiveEntries(want));
    EXPECT_EQ(got.flashSize, want.flashSize);
}

// A 25-byte movie whose frame rectangle is 550 x 400.
std::string Movie() {
    std::string m = "FWS\x06" + std::string(4, '\0');
    m += std::string("\x78\x00\x05\x5F\x00\x00\x0F\xA0\x00", 9);
    m += std::string(8, '\0');
    return m;
}

// Every path of the corpus exists, so a window that loaded a list can start from it.
void AddListedFiles(FakeFileSystem& files, const Want& want) {
    for (const auto& path : want.screenList)
        files.AddFile(path, "MZ");
    for (const auto& path : want.flashList)
        files.AddFile(path, Movie());
}

class BadConfig : public ::testing::TestWithParam<BadIni> {};

std::string CaseName(const ::testing::TestParamInfo<BadIni>& info) {
    return info.param.name;
}

} // namespace

// Failures name the case instead of dumping a megabyte of its bytes.
namespace lumivane::test {
void PrintTo(const BadIni& ini, std::ostream* os) {
    *os << ini.name;
}
} // namespace lumivane::test

TEST_P(BadConfig, LoadsWhatTheValueRulesGive) {
    FakeProfile profile;
    FakeClock clock;
    profile.files[kIni] = GetParam().text;
    TConfigFile file(profile, kIni, clock);
    ExpectSettings(LoadSettings(file).value(), GetParam().want);
    ExpectActiveList(LoadActiveList(file).value(), GetParam().want);
    EXPECT_EQ(profile.reads, 2); // one read of the whole file per operation
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.files[kIni], GetParam().text); // reading changes nothing
}

TEST_P(BadConfig, LoadsTheSameFromDiskThroughTheHostFiles) {
    // Other checkouts on this machine run the same cases at the same time.
    const auto dir = std::filesystem::path(::testing::TempDir()) /
                     ("lumivane-bad-ini-" + std::to_string(::getpid()) + "-" + GetParam().name);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Lumivane.ini").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << GetParam().text;
    }
    HostProfileFile profile;
    FakeClock clock;
    TConfigFile file(profile, path, clock);
    ExpectSettings(LoadSettings(file).value(), GetParam().want);
    ExpectActiveList(LoadActiveList(file).value(), GetParam().want);
    std::ifstream in(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, GetParam().text);
    std::filesystem::remove_all(dir);
}

TEST_P(BadConfig, ScreenWindowOpensAndStartsFromWhatItRead) {
    const Want& want = GetParam().want;
    FakeScreenForm f;
    f.Ini(GetParam().text);
    AddListedFiles(f.files, want);
    f.Create();

    const auto active = ActiveEntries(want);
    EXPECT_EQ(f.screen.LoadedList(), active);
    EXPECT_TRUE(f.dialogs.boxes.empty()) << f.dialogs.boxes.front().text;
    EXPECT_EQ(f.window.closes, 0);
    if (active.empty()) {
        EXPECT_EQ(f.txtIntro.caption, HelpText());
        EXPECT_TRUE(f.shell.calls.empty());
    } else if (want.listKind == 0) {
        ASSERT_EQ(f.shell.calls.size(), 1u);
        EXPECT_NE(std::find(active.begin(), active.end(), f.shell.calls[0].file), active.end());
        EXPECT_EQ(f.shell.calls[0].parameters, "s");
    } else {
        EXPECT_NE(std::find(active.begin(), active.end(), f.flashHost.flash.movie), active.end());
        EXPECT_TRUE(f.flashHost.flash.playing);
    }
}

TEST_P(BadConfig, ConfigurationWindowOpensWithTheListsItRead) {
    const Want& want = GetParam().want;
    FakeMainForm f;
    f.Ini(GetParam().text);
    AddListedFiles(f.files, want);
    f.drives.drives = {{"C:\\", DriveType::Fixed}};
    f.Open();

    EXPECT_TRUE(f.dialogs.boxes.empty()) << f.dialogs.boxes.front().text;
    EXPECT_EQ(f.lsScreen.rows.size(), want.screenList.size());
    EXPECT_EQ(f.lsFlash.rows.size(), want.flashList.size());
    EXPECT_EQ(f.form.ListKind(), want.listKind);
    EXPECT_EQ(f.page.tabIndex, want.listKind == 0 || want.listKind == 1 ? want.listKind : -1);
    EXPECT_EQ(f.rbfOrigin.checked, want.flashSize);
    EXPECT_EQ(f.rbfFull.checked, !want.flashSize);
    EXPECT_EQ(f.chkSub.checked, want.sub);
    if (!want.newestFolder.empty()) {
        EXPECT_NE(std::find(f.cboxDriver.items.begin(), f.cboxDriver.items.end(), want.newestFolder),
                  f.cboxDriver.items.end());
    }
    EXPECT_EQ(f.profile.writes, 0); // opening writes nothing
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadConfig, ::testing::ValuesIn(BadIniCorpus()), CaseName);
