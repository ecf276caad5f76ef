// The profile file contract (one read, one whole replacement, a lock), checked
// against the host's files and the real Windows file API; and the operations of
// "Lumivane.ini" over it, held to the profile functions called one value at a
// time: over the bad-file corpus and hand-edited files, every read gives what the
// per-value reads give, and every write leaves the bytes the per-value writes
// leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/Utf.h"
#include "config/ConfigFile.h"
#include "contract/BadIniCorpus.h"
#include "contract/World.h"
#include "fakes/FakeServices.h"

using namespace lumivane;
using namespace lumivane::contract;
using namespace lumivane::test;
using namespace std::string_literals;

namespace {

struct ProfileContract : ::testing::Test {
    std::string folder = ProfileFolder();
    std::string path = folder + "Lumivane.ini";
    ProfileFile& p = Profile();
};

// Hand-edited files beyond the corpus, one rule of the profile functions each.
const std::vector<std::pair<std::string, std::string>> kHandEdited = {
    {"LinesBeforeTheFirstSection", "key0=before\r\n[screenlist]\r\n file0 = C:\\x.scr \r\n"},
    {"BlanksAndCaseInNames", "[  misc  ]\r\n  flashSIZE =  0  \r\n; comment\r\n\r\n[AMOUNT]\r\nTOTAL=$3\r\n"},
    {"KeyWithoutValueHidesTheNext", "[Misc]\r\nSub\r\nSub=0\r\n[Amount]\r\nTotal\r\nTotal=2\r\n"},
    {"EmptyNamesAndControlBlanks", "[ScreenList]\r\n=e1\r\n=e2\r\n\x1a\x0bv\x0c\r\n[RandomWhat] ]\r\n"},
    // Once written, the keys of "[]" belong to the section above it.
    {"SectionWithoutName", "[RecentFolder]\r\nFolderName0=x\r\n[]\r\nk=v\r\n[Amount]\r\n"},
    {"SectionNameToTheLastBracket", "[Misc]]\r\nSub=0\r\n[Junk\r\n[Amount]x]\r\nTotal=1\r\n"},
    {"NulInNamesAndValues", "[Amount]\r\nTotal=2\0x\r\nFlash\0Total=1\r\n[Mi\0sc]\r\nSub=0\r\n"s},
    {"QuotedValues", "[ScreenList]\r\nFile0=\"C:\\q.scr\"\r\nFile1='x'\r\nFile2=\"\r\n[Amount]\r\nTotal=\"2\"\r\n"},
    // 2047 characters inside the quotes: the closing quote does not fit the
    // buffer, so the last character goes instead, "\xE9" ("é") whole.
    {"QuotedValueCutAtTheBuffer",
     "[ScreenList]\r\nFile0=\"" + std::string(2046, 'w') + "\xE9\"\r\n[Amount]\r\nTotal=1\r\n"},
    {"NothingToChange", "[Misc]  \r\n  FlashSize =  1\r\nSub= 1\r\n[RandomWhat]\r\nType=0\r\n"},
    {"OneSectionReadForAList",
     "[screenlist]\r\nfile0 = C:\\a.scr \r\nFILE1=\"C:\\quoted.scr\"\r\nFile1=C:\\second.scr\r\nFile3\r\n"
     "File4='x'\r\nFile5=\"\r\nFile6=" +
         std::string(3000, 'w') +
         "\r\nFile007=C:\\zero.scr\r\nFile8=\"unbalanced\r\n[ScreenList]\r\nFile2=C:\\other.scr\r\nFile9=C:\\late."
         "scr\r\n"
         "[Amount]\r\nTotal=100\r\n"},
};

// Hand-written files in the Unicode forms, with values in other scripts.
const std::string kUnicodeText = "[ScreenList]\r\nFile0=D:\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.scr\r\n"
                                 "File1=D:\\\xe6\x97\xa5\xe6\x9c\xac.scr\r\n[Amount]\r\nTotal=2\r\n";

std::string Utf16Bytes(const std::string& text, bool little) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t unit : Utf8ToUtf16(text)) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        bytes += little ? lo : hi;
        bytes += little ? hi : lo;
    }
    return bytes;
}

std::vector<std::pair<std::string, std::string>> Cases() {
    std::vector<std::pair<std::string, std::string>> cases = kHandEdited;
    cases.emplace_back("Utf8WithMark", "\xEF\xBB\xBF" + kUnicodeText);
    cases.emplace_back("Utf16LittleEndian", Utf16Bytes(kUnicodeText, true));
    cases.emplace_back("Utf16BigEndian", Utf16Bytes(kUnicodeText, false));
    for (auto& bad : BadIniCorpus())
        cases.emplace_back(bad.name, std::move(bad.text));
    return cases;
}

// LoadSettings as the program did it, one call per value; a count is followed
// for 100 keys at most, which covers every list of the cases.
Settings SettingsByCalls(ProfileCalls& calls, const std::string& path) {
    Settings s;
    auto integer = [&](const char* section, const char* key, std::int32_t def) {
        ConfigDocument doc;
        doc.WriteString("S", "K", calls.Read(path, section, key));
        return doc.ReadInteger("S", "K", def);
    };
    auto list = [&](const char* section, std::int32_t count) {
        std::vector<std::string> entries;
        for (std::int32_t n = 0; n < std::min(count, 100); ++n)
            if (std::string v = calls.Read(path, section, "File" + std::to_string(n)); !v.empty())
                entries.push_back(v);
        return entries;
    };
    s.screenCount = integer("Amount", "Total", 0);
    s.flashCount = integer("Amount", "FlashTotal", 0);
    s.screenList = list("ScreenList", s.screenCount);
    s.flashList = list("FlashList", s.flashCount);
    for (int slot = 0; slot < 5; ++slot)
        s.recentFolders[static_cast<std::size_t>(slot)] =
            calls.Read(path, "RecentFolder", "FolderName" + std::to_string(slot));
    s.listKind = integer("RandomWhat", "Type", 0);
    s.flashSize = integer("Misc", "FlashSize", 1) != 0;
    s.includeSubFolders = integer("Misc", "Sub", 1) != 0;
    return s;
}

void WriteByCalls(ProfileCalls& calls, const std::string& path,
                  const std::vector<std::pair<std::string, std::string>>& keys, std::vector<std::string> sections) {
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_TRUE(calls.Write(path, sections[i], keys[i].first, keys[i].second));
}

} // namespace

TEST_F(ProfileContract, ReadGivesTheTextByItsFormAndMissingForNoFileOrAFolder) {
    EXPECT_EQ(p.Read(path).status, ProfileRead::Missing);
    const std::string zhe = "[A]\r\nx=\xd0\x96\r\n"; // "Ж"
    const struct {
        std::string bytes, text;
        ProfileForm form;
    } files[] = {
        {"[A]\r\nx=\x01\0\r\r\n"s, "[A]\r\nx=\x01\0\r\r\n"s, ProfileForm::Ansi},
        {"", "", ProfileForm::Ansi},
        {"\xEF\xBB\xBF" + zhe, zhe, ProfileForm::Utf8},
        {"\xFF\xFE[\0A\0]\0\r\0\n\0x\0=\0\x16\x04\r\0\n\0"s, zhe, ProfileForm::Utf16Le},
        {"\xFE\xFF\0[\0A\0]\0\r\0\n\0x\0=\x04\x16\0\r\0\n"s, zhe, ProfileForm::Utf16Be},
    };
    for (const auto& file : files) {
        WriteRawFile(path, file.bytes);
        const ProfileText read = p.Read(path);
        EXPECT_EQ(read.status, ProfileRead::Read);
        EXPECT_EQ(read.text, file.text);
        EXPECT_EQ(read.form, file.form);
    }
    MakePlainFolder(folder + "Folder.ini");
    EXPECT_EQ(p.Read(folder + "Folder.ini").status, ProfileRead::Missing);
}

TEST_F(ProfileContract, AHeldFileIsUnreadableNotMissing) {
    WriteRawFile(path, "[Amount]\r\nTotal=1\r\n");
    {
        const auto hold = HoldWithoutSharing(path);
        if (!hold)
            GTEST_SKIP() << "this world cannot hold a file";
        EXPECT_EQ(p.Read(path).status, ProfileRead::Unreadable);
    }
    EXPECT_EQ(p.Read(path).text, "[Amount]\r\nTotal=1\r\n");
}

TEST_F(ProfileContract, ReplaceIsWholeAndLeavesNothingBeside) {
    ASSERT_TRUE(p.Replace(path, "[A]\r\nx=1\r\n", ProfileForm::Ansi));
    EXPECT_EQ(ReadRawFile(path), "[A]\r\nx=1\r\n");
    const std::string big(3 << 20, 'b');
    ASSERT_TRUE(p.Replace(path, big, ProfileForm::Ansi));
    EXPECT_EQ(ReadRawFile(path), big);
    ASSERT_TRUE(p.Replace(path, "", ProfileForm::Ansi));
    EXPECT_EQ(p.Read(path).text, "");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"Lumivane.ini"});

    const std::string blocked = folder + "Blocked.ini";
    MakePlainFolder(blocked);
    EXPECT_FALSE(p.Replace(blocked, "[A]\r\nx=1\r\n", ProfileForm::Ansi));
    EXPECT_EQ(p.Read(blocked).status, ProfileRead::Missing);
    auto names = FolderNames(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Blocked.ini", "Lumivane.ini"}));
}

// The file stays in the ANSI code page, byte for byte as earlier versions and
// hand edits left it, while every character fits; a name in another script
// turns it into UTF-16 with its mark, which the Windows profile functions read
// and go on writing in.
TEST_F(ProfileContract, AnsiWhileEverythingFitsThenUtf16ThatTheProfileFunctionsUse) {
    ASSERT_TRUE(p.Replace(path, "[ScreenList]\r\nFile0=D:\\Caf\xc3\xa9 \xe2\x82\xac.scr\r\n", ProfileForm::Ansi));
    EXPECT_EQ(ReadRawFile(path), "[ScreenList]\r\nFile0=D:\\Caf\xe9 \x80.scr\r\n");
    EXPECT_EQ(ReferenceCalls().Read(path, "ScreenList", "File0"), "D:\\Caf\xc3\xa9 \xe2\x82\xac.scr");

    const std::string privet = "D:\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.scr";
    const std::string japan = "D:\\\xe6\x97\xa5\xe6\x9c\xac.scr";
    const std::string text = "[ScreenList]\r\nFile0=D:\\Caf\xc3\xa9 \xe2\x82\xac.scr\r\nFile1=" + privet + "\r\n";
    ASSERT_TRUE(p.Replace(path, text, ProfileForm::Ansi));
    const std::string raw = ReadRawFile(path);
    ASSERT_EQ(raw.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(raw.size(), 2 + 2 * Utf8ToUtf16(text).size());
    EXPECT_EQ(ReferenceCalls().Read(path, "ScreenList", "File0"), "D:\\Caf\xc3\xa9 \xe2\x82\xac.scr");
    EXPECT_EQ(ReferenceCalls().Read(path, "ScreenList", "File1"), privet);

    ASSERT_TRUE(ReferenceCalls().Write(path, "ScreenList", "File2", japan));
    EXPECT_EQ(ReadRawFile(path).substr(0, 2), "\xFF\xFE");
    const ProfileText read = p.Read(path);
    EXPECT_EQ(read.form, ProfileForm::Utf16Le);
    EXPECT_EQ(read.text, text + "File2=" + japan + "\r\n");

    ASSERT_TRUE(p.Replace(path, text, ProfileForm::Utf16Be));
    EXPECT_EQ(ReferenceCalls().Read(path, "ScreenList", "File1"), privet);
    ASSERT_TRUE(p.Replace(path, text, ProfileForm::Utf8));
    EXPECT_EQ(ReadRawFile(path), "\xEF\xBB\xBF" + text);
    EXPECT_EQ(ReferenceCalls().Read(path, "ScreenList", "File1"), privet);
}

TEST_F(ProfileContract, TheLockKeepsAnotherHolderOutUntilReleasedOrItsWaitRunsOut) {
    std::atomic<bool> released{false}, entered{false};
    auto lock = p.Lock(path, 10000);
    ASSERT_TRUE(lock->Held());
    std::thread other([&] {
        const auto second = Profile().Lock(folder + "Other.ini", 10000); // the same folder
        entered = true;
        EXPECT_TRUE(released.load());
        EXPECT_TRUE(second->Held());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(entered.load());
    released = true;
    lock.reset();
    other.join();
    EXPECT_TRUE(entered.load());

    // A holder that hangs: the wait ends after its time without the lock.
    lock = p.Lock(path, 10000);
    std::thread waiter([&] { EXPECT_FALSE(Profile().Lock(path, 200)->Held()); });
    waiter.join();
    lock.reset();

    // Another folder has a lock of its own: taken from another thread (a lock is
    // re-entrant for its holder on Windows) while ours is held, it comes at once,
    // not after the wait for a hung holder.
    std::atomic<bool> tookOther{false};
    auto mine = p.Lock(path, 10000);
    std::thread elsewhere([&, otherFolder = ProfileFolder()] {
        const auto theirs = Profile().Lock(otherFolder + "Lumivane.ini", 10000);
        tookOther = theirs->Held();
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!tookOther && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(tookOther.load()) << "two folders share one lock";
    mine.reset();
    elsewhere.join();
}

// A scanner or a sync client that opens the file after each change, without
// delete sharing, is waited out for a moment; one that keeps it longer fails the
// write, which leaves the old file and no draft.
TEST_F(ProfileContract, AReplaceWaitsOutAMomentaryHolder) {
    ASSERT_TRUE(p.Replace(path, "[A]\r\nx=old\r\n", ProfileForm::Ansi));
    for (const int holdMs : {1000, 3500}) {
        SCOPED_TRACE(holdMs);
        std::unique_ptr<FileHold> hold = HoldWithoutSharing(path);
        if (!hold)
            GTEST_SKIP() << "no holder in this world";
        std::thread release([holdMs, held = std::move(hold)]() mutable {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            held.reset();
        });
        const bool replaced = p.Replace(path, "[A]\r\nx=new\r\n", ProfileForm::Ansi);
        release.join();
        EXPECT_EQ(replaced, holdMs < 2000);
        EXPECT_EQ(ReadRawFile(path), replaced ? "[A]\r\nx=new\r\n" : "[A]\r\nx=old\r\n");
        EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"Lumivane.ini"});
        ASSERT_TRUE(p.Replace(path, "[A]\r\nx=old\r\n", ProfileForm::Ansi));
    }
}

TEST_F(ProfileContract, WholeFileReadsEqualThePerValueReads) {
    FakeClock clock;
    for (const auto& [name, text] : Cases()) {
        SCOPED_TRACE(name);
        const std::string file = ProfileFolder() + "Lumivane.ini";
        WriteRawFile(file, text);
        TConfigFile config(p, file, clock);
        const Settings whole = LoadSettings(config).value();
        const Settings byCalls = SettingsByCalls(ReferenceCalls(), file);
        EXPECT_EQ(whole.screenCount, byCalls.screenCount);
        EXPECT_EQ(whole.flashCount, byCalls.flashCount);
        EXPECT_EQ(whole.screenList, byCalls.screenList);
        EXPECT_EQ(whole.flashList, byCalls.flashList);
        EXPECT_EQ(whole.recentFolders, byCalls.recentFolders);
        EXPECT_EQ(whole.listKind, byCalls.listKind);
        EXPECT_EQ(whole.flashSize, byCalls.flashSize);
        EXPECT_EQ(whole.includeSubFolders, byCalls.includeSubFolders);
    }
}

// Each operation of the configuration window, applied to a copy of each case: a
// folder pick, a Save of the lists, a close that shrinks them, and a close that
// changes nothing. After each, the bytes equal those of the per-value calls.
TEST_F(ProfileContract, WholeFileWritesEqualThePerValueWrites) {
    FakeClock clock;
    const std::string a = kCorpusA, b = kCorpusB, movie = kCorpusMovie;
    for (const auto& [name, text] : Cases()) {
        SCOPED_TRACE(name);
        const std::string mine = ProfileFolder() + "Lumivane.ini";
        const std::string theirs = ProfileFolder() + "Lumivane.ini";
        WriteRawFile(mine, text);
        WriteRawFile(theirs, text);
        TConfigFile config(p, mine, clock);
        ProfileCalls& calls = ReferenceCalls();

        RecentFolders slots{"", "", "", "D:\\Old\\", ""};
        AddRecentFolder(config, slots, "D:\\Found\\");
        WriteByCalls(calls, theirs,
                     {{"FolderName0", ""},
                      {"FolderName1", ""},
                      {"FolderName2", "D:\\Old\\"},
                      {"FolderName3", ""},
                      {"FolderName4", "D:\\Found\\"}},
                     std::vector<std::string>(5, "RecentFolder"));
        EXPECT_EQ(ReadRawFile(mine), ReadRawFile(theirs)) << "after the folder pick";

        ListCounts counts;
        SaveLists(config, {{a, b}, {movie}, {}}, counts);
        WriteByCalls(calls, theirs, {{"File0", a}, {"File1", b}, {"Total", "2"}, {"File0", movie}, {"FlashTotal", "1"}},
                     {"ScreenList", "ScreenList", "Amount", "FlashList", "Amount"});
        EXPECT_EQ(ReadRawFile(mine), ReadRawFile(theirs)) << "after the Save";

        for (int close = 0; close < 2; ++close) {
            SaveListsAndOptions(config, {{b}, {}, {}}, counts, {.activeTab = -1, .flashSize = false});
            WriteByCalls(
                calls, theirs,
                {{"File0", b}, {"Total", "1"}, {"FlashTotal", "0"}, {"Type", "-1"}, {"FlashSize", "0"}, {"Sub", "1"}},
                {"ScreenList", "Amount", "Amount", "RandomWhat", "Misc", "Misc"});
            EXPECT_EQ(ReadRawFile(mine), ReadRawFile(theirs)) << "after close " << close;
        }
    }
}
