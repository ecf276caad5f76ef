// "Lumivane.ini": value rules, the five operations, counts, bad files, and one
// read and one write per operation under the lock, a held file read again.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "common/Errors.h"
#include "config/ConfigFile.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeServices.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const std::string kPath = "C:\\Savers\\Lumivane.ini";

struct ConfigFixture : ::testing::Test, FakeIniFile {
    ConfigFixture() : FakeIniFile(kPath) {}
    FakeClock clock;
    TConfigFile file{profile, kPath, clock};
    std::string Text() { return profile.files[kPath]; }
    Settings Load() { return LoadSettings(file).value(); }
    void TearDown() override { EXPECT_EQ(profile.unlockedWrites, 0); }
};

ConfigDocument Doc(const std::string& text) {
    return ConfigDocument(ProfileDocument::Parse(text));
}

} // namespace

TEST(ConfigPath, FolderOfTheProgramFile) {
    EXPECT_EQ(ConfigPathFor("C:\\Windows\\Lumivane.scr"), "C:\\Windows\\Lumivane.ini");
    EXPECT_EQ(ConfigPathFor("C:\\My Savers\\x.y\\LUMIVANE.SCR"), "C:\\My Savers\\x.y\\Lumivane.ini");
    EXPECT_EQ(ConfigPathFor("Lumivane.scr"), "Lumivane.ini");
}

using ConfigValues = ConfigFixture;

TEST_F(ConfigValues, IntegerAndBooleanReads) {
    const ConfigDocument file = Doc("[Amount]\r\nTotal=0x3\r\nFlashTotal=$3\r\n[A]\r\nb= 3\r\nc=3a\r\nd=abc\r\ne=\r\n"
                                    "[Misc]\r\nFlashSize=2\r\nSub=-1\r\nX=0\r\nY=false\r\nZ=no\r\n");
    EXPECT_EQ(file.ReadInteger("Amount", "Total", 0), 3);
    EXPECT_EQ(file.ReadInteger("Amount", "FlashTotal", 0), 3);
    EXPECT_EQ(file.ReadInteger("A", "b", 0), 3);
    EXPECT_EQ(file.ReadInteger("A", "c", 0), 0);
    EXPECT_EQ(file.ReadInteger("A", "d", 7), 7);
    EXPECT_EQ(file.ReadInteger("A", "e", 9), 9);
    EXPECT_EQ(file.ReadInteger("A", "missing", -4), -4);
    EXPECT_TRUE(file.ReadBool("Misc", "FlashSize", false));
    EXPECT_TRUE(file.ReadBool("Misc", "Sub", false));
    EXPECT_FALSE(file.ReadBool("Misc", "X", true));
    EXPECT_TRUE(file.ReadBool("Misc", "Y", true));
    EXPECT_FALSE(file.ReadBool("Misc", "Y", false));
    EXPECT_TRUE(file.ReadBool("Misc", "Z", true));
}

TEST_F(ConfigValues, WrittenForms) {
    ConfigDocument doc;
    doc.WriteInteger("S", "neg", -1);
    doc.WriteInteger("S", "pos", 42);
    doc.WriteBool("S", "t", true);
    doc.WriteBool("S", "f", false);
    doc.WriteString("S", "txt", "C:\\a b\\\"q\".scr");
    EXPECT_EQ(doc.Text(), "[S]\r\nneg=-1\r\npos=42\r\nt=1\r\nf=0\r\ntxt=C:\\a b\\\"q\".scr\r\n");
}

TEST_F(ConfigValues, LongValuesAreCutTo2047Characters) {
    const std::string longValue(3000, 'x');
    ConfigDocument doc;
    doc.WriteString("ScreenList", "File0", longValue);
    doc.WriteString("ScreenList", "File1", "\"" + longValue + "\"");
    doc.WriteString("ScreenList", "File2", "\"" + longValue.substr(0, 2047) + "\"");
    EXPECT_EQ(doc.ReadString("ScreenList", "File0"), longValue.substr(0, 2047));
    EXPECT_EQ(doc.ReadString("ScreenList", "File1"), longValue.substr(0, 2047));
    // Its closing quote does not fit the buffer, and takes the last character with it.
    EXPECT_EQ(doc.ReadString("ScreenList", "File2"), longValue.substr(0, 2046));
}

TEST_F(ConfigValues, AFailedWriteRaisesWithThePathAndLeavesTheFile) {
    Ini("[Misc]\r\nSub=0\r\n");
    profile.failWrites = true;
    try {
        SaveOptions(file, {});
        FAIL() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to C:\\Savers\\Lumivane.ini");
        EXPECT_EQ(e.ClassName(), "EIniFileException");
    }
    EXPECT_EQ(Text(), "[Misc]\r\nSub=0\r\n");
}

// A backup or a scanner holding the file makes it unreadable for a moment: the
// read is tried again, and a file that stays held is never taken for an empty one.
TEST_F(ConfigValues, AHeldFileIsReadAgainAndNeverTakenForAnEmptyOne) {
    Ini("[Amount]\r\nTotal=1\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\n");
    profile.unreadableReads = 3;
    EXPECT_EQ(Load().screenList, std::vector<std::string>{"C:\\a.scr"});
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{100, 100, 100}));

    clock.sleeps.clear();
    profile.unreadableReads = -1;
    profile.lockWaits.clear();
    EXPECT_FALSE(LoadSettings(file).has_value());
    // The lock's waits share the retries' time: the first may take all of it,
    // each later one only what is left.
    EXPECT_EQ(profile.lockWaits.front(), kReadRetryMs);
    EXPECT_TRUE(std::is_sorted(profile.lockWaits.rbegin(), profile.lockWaits.rend()));
    EXPECT_LE(profile.lockWaits.back(), kReadRetryStepMs);
    EXPECT_FALSE(LoadActiveList(file).has_value());
    const unsigned waited = std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), 0u);
    EXPECT_GE(waited, 2 * kReadRetryMs);
    EXPECT_LE(waited, 2 * (kReadRetryMs + kReadRetryStepMs));
    ListCounts counts;
    EXPECT_THROW(SaveLists(file, {{}, {}, {}}, counts), EIniFileException);
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.locks, profile.reads); // every read under the lock
}

using LoadSettingsTest = ConfigFixture;

TEST_F(LoadSettingsTest, MissingFileGivesDefaultsAndWritesNothing) {
    Settings s = Load();
    EXPECT_TRUE(s.screenList.empty());
    EXPECT_TRUE(s.flashList.empty());
    EXPECT_EQ(s.listKind, 0);
    EXPECT_TRUE(s.flashSize);
    EXPECT_TRUE(s.includeSubFolders);
    EXPECT_EQ(s.recentFolders, RecentFolders{});
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.files.count(kPath), 0u);
}

TEST_F(LoadSettingsTest, EverythingWithOddCaseAndGaps) {
    Ini("[amount]\r\ntotal=3\r\nFLASHTOTAL=2\r\n[SCREENLIST]\r\nFile0=C:\\a.scr\r\nFile1=\r\nfile2=C:\\c.scr\r\n"
        "[FlashList]\r\nFile0=D:\\m.swf\r\nFile1=D:\\n.swf\r\nFile2=D:\\unread.swf\r\n"
        "[RecentFolder]\r\nFolderName4=E:\\Games\\\r\nFolderName2=D:\\Temp\\\r\n"
        "[RandomWhat]\r\nType=1\r\n[misc]\r\nflashsize=0\r\nSub=0\r\n");
    Settings s = Load();
    EXPECT_EQ(s.screenCount, 3);
    EXPECT_EQ(s.flashCount, 2);
    EXPECT_EQ(s.screenList, (std::vector<std::string>{"C:\\a.scr", "C:\\c.scr"}));
    EXPECT_EQ(s.flashList, (std::vector<std::string>{"D:\\m.swf", "D:\\n.swf"}));
    EXPECT_EQ(s.recentFolders, (RecentFolders{"", "", "D:\\Temp\\", "", "E:\\Games\\"}));
    EXPECT_EQ(s.listKind, 1);
    EXPECT_FALSE(s.flashSize);
    EXPECT_FALSE(s.includeSubFolders);
}

TEST_F(LoadSettingsTest, AbsurdCountsReadOnlyTheKeysThatExist) {
    Ini("[Amount]\r\nTotal=2147483647\r\nFlashTotal=-2147483648\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\n"
        "File1=C:\\b.scr\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n");
    Settings s = Load();
    EXPECT_EQ(s.screenList, (std::vector<std::string>{"C:\\a.scr", "C:\\b.scr"}));
    EXPECT_TRUE(s.flashList.empty());
    EXPECT_EQ(profile.reads, 1); // one read, not two billion
}

TEST_F(LoadSettingsTest, KeysThatDoNotNameAnIndexDoNotRaiseTheBound) {
    // File007 is not File7 for the profile functions, so it must not make the
    // reader look up seven keys; "File1" in another case still counts.
    Ini("[Amount]\r\nTotal=100\r\n[ScreenList]\r\nFile0=a\r\nFILE1=b\r\nFile007=x\r\nFile+9=y\r\nFiles=z\r\n");
    Settings s = Load();
    EXPECT_EQ(s.screenList, (std::vector<std::string>{"a", "b"}));
}

TEST_F(LoadSettingsTest, GarbageAndBinaryFilesGiveDefaults) {
    for (std::string garbage : {std::string("\x00\x01\x02\xff\xfe garbage", 14), std::string(100000, 'x'),
                                std::string("[Amount\r\nTotal==5\r\n"), std::string("Total=5\r\n[]\r\n=\r\n")}) {
        Ini(garbage);
        Settings s = Load();
        EXPECT_TRUE(s.screenList.empty());
        EXPECT_EQ(s.listKind, 0);
        EXPECT_TRUE(s.flashSize);
    }
}

using SaveTest = ConfigFixture;

TEST_F(SaveTest, FirstSaveThenCloseWritesSectionsInOrderOfFirstWriteOncePerOperation) {
    const std::vector<std::string> screens{"C:\\a.scr", "C:\\b.scr"};
    ListCounts counts;
    SaveLists(file, {screens, {}, {}}, counts);
    EXPECT_EQ(profile.writes, 1);
    SaveListsAndOptions(file, {screens, {}, {}}, counts, {.includeSubFolders = false});
    EXPECT_EQ(counts.screen, 2);
    EXPECT_EQ(counts.flash, 0);
    EXPECT_EQ(Text(), "[ScreenList]\r\nFile0=C:\\a.scr\r\nFile1=C:\\b.scr\r\n[Amount]\r\nTotal=2\r\nFlashTotal=0\r\n"
                      "[RandomWhat]\r\nType=0\r\n[Misc]\r\nFlashSize=1\r\nSub=0\r\n");
    EXPECT_EQ(profile.writes, 2);
    // Nothing changed, so nothing is written, as the profile functions do.
    SaveListsAndOptions(file, {screens, {}, {}}, counts, {.includeSubFolders = false});
    EXPECT_EQ(profile.writes, 2);
}

TEST_F(SaveTest, ShrinkingLeavesOldKeysUnread) {
    Ini("[Amount]\r\nTotal=3\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\nFile2=C:\\c.scr\r\n");
    Settings s = Load();
    ListCounts counts{s.screenCount, s.flashCount, s.videoCount};
    SaveLists(file, {s.screenList, s.flashList, s.videoList}, counts);
    EXPECT_EQ(Text(), "[Amount]\r\nTotal=2\r\nFlashTotal=0\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\nFile2=C:\\c.scr\r\n"
                      "File1=C:\\c.scr\r\n");
    EXPECT_EQ(Load().screenList, (std::vector<std::string>{"C:\\a.scr", "C:\\c.scr"}));
}

TEST_F(SaveTest, AFailedWriteLeavesTheFileAndTheCountsAsTheyWere) {
    profile.failWrites = true;
    ListCounts counts{5, 5, 5};
    EXPECT_THROW(SaveLists(file, {{"C:\\a.scr", "C:\\b.scr"}, {"D:\\m.swf"}, {"E:\\v.mp4"}}, counts),
                 EIniFileException);
    EXPECT_EQ(profile.files.count(kPath), 0u);
    EXPECT_EQ(counts.screen, 5);
    EXPECT_EQ(counts.flash, 5);
    EXPECT_EQ(counts.video, 5);
}

TEST_F(SaveTest, NoActiveTabIsStoredAsMinusOne) {
    SaveOptions(file, {.activeTab = -1, .flashSize = false});
    EXPECT_EQ(Text(), "[RandomWhat]\r\nType=-1\r\n[Misc]\r\nFlashSize=0\r\nSub=1\r\n");
}

// The video list follows the Flash list, and only once it has had an entry: the
// file of a user who never keeps videos stays byte for byte.
TEST_F(SaveTest, VideoKeysFollowTheFlashKeysOnceTheVideoListHasHadAnEntry) {
    const std::string flash = "[Amount]\r\nTotal=0\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n";
    const std::string videos = "[VideoList]\r\nFile0=E:\\a.mp4\r\n";
    const struct {
        std::string before;
        std::vector<std::string> videos;
        std::string after;
    } cases[] = {
        {flash, {}, flash},
        {"",
         {"E:\\a.mp4"},
         "[Amount]\r\nTotal=0\r\nFlashTotal=1\r\nVideoTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n" + videos},
        {"[Amount]\r\nVideoTotal=1\r\n" + videos,
         {},
         "[Amount]\r\nVideoTotal=0\r\nTotal=0\r\nFlashTotal=1\r\n" + videos + "[FlashList]\r\nFile0=D:\\m.swf\r\n"},
    };
    for (const auto& c : cases) {
        Ini(c.before);
        ListCounts counts;
        SaveLists(file, {{}, {"D:\\m.swf"}, c.videos}, counts);
        EXPECT_EQ(Text(), c.after);
        EXPECT_EQ(Load().videoList, c.videos);
    }
}

// The video options are written once set, as the variety options are; a stored
// monitor choice out of range reads as the first.
TEST_F(SaveTest, VideoOptionsWrittenOnceSetAndReadWithinRange) {
    SaveOptions(file, {});
    EXPECT_EQ(Text(), "[RandomWhat]\r\nType=0\r\n[Misc]\r\nFlashSize=1\r\nSub=1\r\n");
    SaveOptions(file, {.video = {true, VideoMonitors::MainOnly}});
    EXPECT_EQ(LoadActiveList(file).value().video, (VideoOptions{true, VideoMonitors::MainOnly}));
    SaveOptions(file, {});
    EXPECT_EQ(Text(),
              "[RandomWhat]\r\nType=0\r\n[Misc]\r\nFlashSize=1\r\nSub=1\r\nVideoSound=0\r\nVideoMonitors=0\r\n");
    Ini("[Misc]\r\nVideoMonitors=4\r\n");
    EXPECT_EQ(Load().video.monitors, VideoMonitors::EachItsOwn);
}

using RecentFolderTest = ConfigFixture;

TEST_F(RecentFolderTest, RingOfFiveWrittenAtOnce) {
    RecentFolders slots{};
    for (const char* f : {"A\\", "B\\", "C\\", "D\\", "E\\", "F\\"})
        AddRecentFolder(file, slots, f);
    EXPECT_EQ(slots, (RecentFolders{"B\\", "C\\", "D\\", "E\\", "F\\"}));
    AddRecentFolder(file, slots, "F\\");
    EXPECT_EQ(slots[3], "F\\");
    EXPECT_EQ(slots[4], "F\\");
    EXPECT_EQ(Load().recentFolders, slots);

    RecentFolders sparse{"", "", "D:\\Temp\\", "", "E:\\Games\\"};
    Ini("");
    AddRecentFolder(file, sparse, "D:\\Windows\\System32\\");
    EXPECT_EQ(Text(), "[RecentFolder]\r\nFolderName0=\r\nFolderName1=D:\\Temp\\\r\nFolderName2=\r\n"
                      "FolderName3=E:\\Games\\\r\nFolderName4=D:\\Windows\\System32\\\r\n");
}

using ActiveListTest = ConfigFixture;

TEST_F(ActiveListTest, ByListKind) {
    const std::string lists = "[Amount]\r\nTotal=2\r\nFlashTotal=1\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\nFile1=\r\n"
                              "[FlashList]\r\nFile0=D:\\m.swf\r\n";
    Ini(lists + "[RandomWhat]\r\nType=0\r\n");
    ActiveList a = LoadActiveList(file).value();
    EXPECT_EQ(a.listKind, 0);
    EXPECT_EQ(a.entries, std::vector<std::string>{"C:\\a.scr"});
    EXPECT_TRUE(a.flashSize);

    Ini(lists + "[RandomWhat]\r\nType=1\r\n[Misc]\r\nFlashSize=0\r\n");
    a = LoadActiveList(file).value();
    EXPECT_EQ(a.entries, std::vector<std::string>{"D:\\m.swf"});
    EXPECT_EQ(a.count, 1);
    EXPECT_FALSE(a.flashSize);

    Ini("[Amount]\r\nTotal=1\r\nVideoTotal=3\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\n"
        "[VideoList]\r\nFile0=E:\\a.mp4\r\nFile2=E:\\c.wmv\r\n[RandomWhat]\r\nType=2\r\n");
    a = LoadActiveList(file).value();
    EXPECT_EQ(a.entries, (std::vector<std::string>{"E:\\a.mp4", "E:\\c.wmv"}));
    EXPECT_EQ(a.count, 3);

    Ini("[Amount]\r\nFlashTotal=0\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
    EXPECT_TRUE(LoadActiveList(file).value().entries.empty());
    EXPECT_EQ(profile.writes, 0);
}
