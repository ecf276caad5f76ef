// A corpus of damaged and hand-mangled "Lumivane.ini" files: garbage bytes,
// missing line ends, megabyte values, extreme and hexadecimal counts, duplicate
// sections and keys, odd case, broken headers, keys without "=". Each file must
// load to what the value rules give (defaults where a value is unreadable), the
// same in memory and through the host engine on disk, without a read per counted
// key of an absurd count, and both windows must still open on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>

#include "common/HelpText.h"
#include "config/ConfigFile.h"
#include "fakes/FakeMainWidgets.h"
#include "fakes/FakeScreenForm.h"
#include "platform/ProfileEngine.h"

using namespace lumivane;
using namespace lumivane::test;

// Each case names only the fields that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

const std::string kA = "C:\\Savers\\a.scr";
const std::string kB = "C:\\Savers\\b.scr";
const std::string kMovie = "C:\\Movies\\m.swf";
constexpr std::size_t kMegabyte = 1 << 20;
constexpr std::size_t kLongest = kProfileBufferSize - 1; // what one read can return

// What LoadSettings must give; the screen window's list follows from it by the
// list kind.
struct Want {
    std::int32_t screenCount = 0;
    std::int32_t flashCount = 0;
    std::vector<std::string> screenList;
    std::vector<std::string> flashList;
    std::int32_t listKind = 0;
    bool flashSize = true;
    bool sub = true;
    std::string newestFolder; // slot 4
};

struct BadIni {
    std::string name;
    std::string text;
    Want want;
};

std::string Crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Bytes of every value 0..255 from a fixed generator, so the corpus is the same on
// every run.
std::string Garbage(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 0x2545F491u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

const std::string kValidTail = Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA});

std::vector<BadIni> Corpus() {
    const std::string longPath = "C:\\" + std::string(kMegabyte, 'x');
    std::vector<BadIni> corpus = {
        {"EmptyFile", "", {}},
        {"BinaryGarbage", Garbage(64 * 1024), {}},
        {"OnlyNulBytes", std::string(4096, '\0'), {}},
        {"GarbageThenValidSections", Garbage(4096) + "\r\n" + kValidTail, {.screenCount = 1, .screenList = {kA}}},
        // One long line that opens with "[": everything up to its last "]" names a
        // section, so no section of ours exists.
        {"NoLineEnds", "[Amount]Total=2[ScreenList]File0=" + kA + "File1=" + kB + "[Misc]Sub=0", {}},
        {"CarriageReturnsOnly", "[Amount]\rTotal=1\r[ScreenList]\rFile0=" + kA + "\r[Misc]\rSub=0\r", {}},
        {"LineFeedsOnly",
         "[Amount]\nTotal=1\nFlashTotal=1\n[ScreenList]\nFile0=" + kA + "\n[FlashList]\nFile0=" + kMovie +
             "\n[Misc]\nSub=0\n",
         {.screenCount = 1, .flashCount = 1, .screenList = {kA}, .flashList = {kMovie}, .sub = false}},
        {"NoLineEndAtTheEnd",
         "[Amount]\r\nTotal=1\r\n[ScreenList]\r\nFile0=" + kA,
         {.screenCount = 1, .screenList = {kA}}},
        {"MegabyteListEntry",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + longPath}),
         {.screenCount = 1, .screenList = {longPath.substr(0, kLongest)}}},
        // Cut to 2047 ones first, then converted: out of range, so the default.
        {"MegabyteCount",
         Crlf({"[Amount]", "Total=" + std::string(kMegabyte, '1'), "[ScreenList]", "File0=" + kA}),
         {}},
        // The cut keeps only zeros of a value whose last digit is a one.
        {"MegabyteOfZerosBeforeAOne",
         Crlf({"[Misc]", "Sub=" + std::string(kMegabyte - 1, '0') + "1",
               "FlashSize=" + std::string(kMegabyte, ' ') + "0"}),
         {.flashSize = false, .sub = false}},
        {"MegabyteNames",
         Crlf({"[" + std::string(kMegabyte, 'S') + "]", std::string(kMegabyte, 'K') + "=1", "[Misc]", "Sub=0"}),
         {.sub = false}},
        {"MegabyteRecentFolder",
         Crlf({"[RecentFolder]", "FolderName4=" + longPath}),
         {.newestFolder = longPath.substr(0, kLongest)}},
        {"LargestCount",
         Crlf({"[Amount]", "Total=2147483647", "[ScreenList]", "File0=" + kA, "File1=" + kB}),
         {.screenCount = INT32_MAX, .screenList = {kA, kB}}},
        {"LargestCountForTheActiveFlashList",
         Crlf({"[Amount]", "FlashTotal=2147483647", "[FlashList]", "File0=" + kMovie, "[RandomWhat]", "Type=1"}),
         {.flashCount = INT32_MAX, .flashList = {kMovie}, .listKind = 1}},
        {"SmallestCount",
         Crlf({"[Amount]", "Total=-2147483648", "FlashTotal=-2147483648", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = INT32_MIN, .flashCount = INT32_MIN}},
        {"CountsJustOutOfRange",
         Crlf({"[Amount]", "Total=2147483648", "FlashTotal=-2147483649", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {}},
        {"HexadecimalCounts",
         Crlf({"[Amount]", "Total=0x2", "FlashTotal=$1", "[ScreenList]", "File0=" + kA, "File1=" + kB, "[FlashList]",
               "File0=" + kMovie, "[RandomWhat]", "Type=0X1"}),
         {.screenCount = 2, .flashCount = 1, .screenList = {kA, kB}, .flashList = {kMovie}, .listKind = 1}},
        {"HexadecimalCountsWithoutZero",
         Crlf({"[Amount]", "Total=x2", "FlashTotal=X1", "[ScreenList]", "File0=" + kA, "File1=" + kB, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = 2, .flashCount = 1, .screenList = {kA, kB}, .flashList = {kMovie}}},
        // Hexadecimal is a 32-bit pattern: all ones is -1, the top bit alone the smallest count.
        {"HexadecimalPatterns",
         Crlf({"[Amount]", "Total=0xFFFFFFFF", "FlashTotal=$80000000", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = -1, .flashCount = INT32_MIN}},
        {"HexadecimalTooWideOrEmpty",
         Crlf({"[Amount]", "Total=0x100000000", "FlashTotal=$", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie, "[Misc]", "Sub=0x", "FlashSize=0x0"}),
         {.flashSize = false}},
        {"DuplicateSections",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[Amount]", "Total=2", "[ScreenList]",
               "File1=" + kB}),
         {.screenCount = 1, .screenList = {kA}}},
        {"DuplicateKeys",
         Crlf({"[Amount]", "Total=1", "Total=2", "[ScreenList]", "File0=" + kA, "File0=" + kB, "[Misc]", "Sub=0",
               "Sub=1"}),
         {.screenCount = 1, .screenList = {kA}, .sub = false}},
        {"OddCase",
         Crlf({"[aMOUNT]", "tOTAL=2", "[screenlist]", "FILE0=" + kA, "file1=" + kB, "[RANDOMWHAT]", "type=0", "[misc]",
               "FLASHSIZE=0", "sUb=0", "[recentfolder]", "foldername4=D:\\Found\\"}),
         {.screenCount = 2, .screenList = {kA, kB}, .flashSize = false, .sub = false, .newestFolder = "D:\\Found\\"}},
        // "File00" and "File+1" are other keys than File0 and File1.
        {"LookalikeFileKeys",
         Crlf({"[Amount]", "Total=2", "[ScreenList]", "File00=" + kA, "File+1=" + kB}),
         {.screenCount = 2}},
        // Whether the broken line opens a section or not, the Total after it is not the first one.
        {"SectionHeaderWithoutBracket",
         Crlf({"[Amount]", "Total=1", "[Junk", "Total=5", "[ScreenList]", "File0=" + kA, "[Misc"}),
         {.screenCount = 1, .screenList = {kA}}},
        {"KeysWithoutEquals",
         Crlf({"[Amount]", "Total 3", "Total=2", "[ScreenList]", "File0=" + kA, "File1 " + kB, "[Misc]", "Sub",
               "FlashSize 0"}),
         {.screenCount = 2, .screenList = {kA}}},
        {"QuotedValues",
         Crlf({"[Amount]", "Total=\"2\"", "[ScreenList]", "File0=\"" + kA + "\"", "File1='" + kB + "'"}),
         {.screenCount = 2, .screenList = {kA, kB}}},
        {"GapsAndBlankEntries",
         Crlf({"[Amount]", "Total=4", "[ScreenList]", "File0=" + kA, "File1=", "File3=" + kB, "File4=C:\\late.scr"}),
         {.screenCount = 4, .screenList = {kA, kB}}},
        {"ListKindOutOfRange",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[RandomWhat]", "Type=2"}),
         {.screenCount = 1, .screenList = {kA}, .listKind = 2}},
        {"SmallestListKind",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[RandomWhat]", "Type=-2147483648"}),
         {.screenCount = 1, .screenList = {kA}, .listKind = INT32_MIN}},
        {"WordsForNumbers",
         Crlf({"[Amount]", "Total=two", "[RandomWhat]", "Type=one", "[Misc]", "FlashSize=false", "Sub=no"}),
         {}},
    };
    return corpus;
}

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

// Failures name the case instead of dumping a megabyte of its bytes.
void PrintTo(const BadIni& ini, std::ostream* os) {
    *os << ini.name;
}

class BadConfig : public ::testing::TestWithParam<BadIni> {};

std::string CaseName(const ::testing::TestParamInfo<BadIni>& info) {
    return info.param.name;
}

} // namespace

TEST_P(BadConfig, LoadsWhatTheValueRulesGive) {
    FakeProfile profile;
    profile.files[kIni] = GetParam().text;
    TConfigFile file(profile, kIni);
    ExpectSettings(LoadSettings(file), GetParam().want);
    ExpectActiveList(LoadActiveList(file), GetParam().want);
    // A read per counted key would be two billion reads for the largest count.
    EXPECT_LT(profile.reads, 100);
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.files[kIni], GetParam().text); // reading changes nothing
}

TEST_P(BadConfig, LoadsTheSameFromDiskThroughTheHostEngine) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / ("lumivane-bad-ini-" + GetParam().name);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Lumivane.ini").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << GetParam().text;
    }
    HostProfileFile profile;
    TConfigFile file(profile, path);
    ExpectSettings(LoadSettings(file), GetParam().want);
    ExpectActiveList(LoadActiveList(file), GetParam().want);
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

INSTANTIATE_TEST_SUITE_P(Corpus, BadConfig, ::testing::ValuesIn(Corpus()), CaseName);
