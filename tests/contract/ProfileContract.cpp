// The profile functions' rules the program relies on, checked against the host
// engine and against the real Windows functions.
#include <gtest/gtest.h>

#include "config/ConfigFile.h"
#include "contract/World.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {

std::vector<std::string> Names(const std::vector<ProfileEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    return names;
}

struct ProfileContract : ::testing::Test {
    std::string path = ProfileFolder() + "Lumivane.ini";
    ProfileFile& p = Profile();
    std::string Read(const std::string& s, const std::string& k, const std::string& def = "", std::size_t size = 2048) {
        return p.ReadString(path, s, k, def, size);
    }
    bool Write(const std::string& s, const std::string& k, const std::string& v) {
        return p.WriteString(path, s, k, v);
    }
};

} // namespace

TEST_F(ProfileContract, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("Amount", "Total", "dflt"), "dflt");
    ASSERT_TRUE(Write("Amount", "Total", "3"));
    EXPECT_EQ(Read("Amount", "Nope", "d2"), "d2");
    EXPECT_EQ(Read("Nope", "Total", ""), "");
    EXPECT_TRUE(p.ReadSection(path, "Nope").empty());
}

TEST_F(ProfileContract, NamesMatchWithoutRegardToCase) {
    ASSERT_TRUE(Write("Misc", "FlashSize", "0"));
    EXPECT_EQ(Read("MISC", "flashsize"), "0");
    ASSERT_TRUE(Write("misc", "FLASHSIZE", "1"));
    EXPECT_EQ(Read("Misc", "FlashSize"), "1");
    EXPECT_EQ(p.ReadSection(path, "Misc"), (std::vector<ProfileEntry>{{"FlashSize", "1"}}));
}

TEST_F(ProfileContract, OrderOfFirstWriteAndReplaceInPlace) {
    ASSERT_TRUE(Write("ScreenList", "File0", "C:\\a.scr"));
    ASSERT_TRUE(Write("Amount", "Total", "1"));
    ASSERT_TRUE(Write("ScreenList", "File1", "C:\\b.scr"));
    ASSERT_TRUE(Write("ScreenList", "File0", "C:\\c.scr"));
    ASSERT_TRUE(Write("Amount", "FlashTotal", "0"));
    p.Flush(path);
    EXPECT_EQ(Names(p.ReadSection(path, "ScreenList")), (std::vector<std::string>{"File0", "File1"}));
    EXPECT_EQ(Names(p.ReadSection(path, "Amount")), (std::vector<std::string>{"Total", "FlashTotal"}));
    const std::string text = ReadRawFile(path);
    const auto screen = text.find("[ScreenList]"), amount = text.find("[Amount]");
    ASSERT_NE(screen, std::string::npos);
    ASSERT_NE(amount, std::string::npos);
    EXPECT_LT(screen, amount);
    EXPECT_LT(text.find("File0=C:\\c.scr"), text.find("File1=C:\\b.scr"));
    EXPECT_EQ(text.find("C:\\a.scr"), std::string::npos);
}

TEST_F(ProfileContract, LongValuesReadBackCutToTheBuffer) {
    const std::string value(3000, 'v');
    ASSERT_TRUE(Write("ScreenList", "File0", value));
    EXPECT_EQ(Read("ScreenList", "File0"), value.substr(0, 2047));
    EXPECT_EQ(Read("ScreenList", "File0", "", 10), value.substr(0, 9));
}

TEST_F(ProfileContract, HandEditedFiles) {
    WriteRawFile(path, "[misc]\r\n  FlashSize =  0  \r\n; comment\r\n\r\n[Amount]\nTotal=$3\n[Amount]\nTotal=9\n"
                       "[RecentFolder]\r\nFolderName0=\"D:\\Quoted\\\"\r\n");
    EXPECT_EQ(Read("Misc", "FlashSize"), "0");
    EXPECT_EQ(Read("Amount", "Total"), "$3"); // the first of duplicate sections wins
    EXPECT_EQ(Read("RecentFolder", "FolderName0"), "D:\\Quoted\\");
    ASSERT_TRUE(Write("Misc", "Sub", "1"));
    EXPECT_EQ(Read("Misc", "FlashSize"), "0");
    EXPECT_EQ(Read("Misc", "Sub"), "1");
}

TEST_F(ProfileContract, AFolderWhereTheFileShouldBeMakesWritesFail) {
    MakePlainFolder(path);
    EXPECT_FALSE(Write("Misc", "Sub", "1"));
    EXPECT_EQ(Read("Misc", "Sub", "d"), "d");
}

// A list read in one call must give what one read per key gives, on a file
// edited by hand: odd case, duplicates, quotes, gaps, keys without "=", values
// longer than a read buffer.
TEST_F(ProfileContract, OneSectionReadGivesTheListOfOneReadPerKey) {
    const std::string longValue(3000, 'w');
    WriteRawFile(path,
                 "[screenlist]\r\nfile0 = C:\\a.scr \r\nFILE1=\"C:\\quoted.scr\"\r\nFile1=C:\\second.scr\r\n"
                 "File3\r\nFile4='x'\r\nFile5=\"\r\nFile6=" +
                     longValue +
                     "\r\nFile007=C:\\zero.scr\r\n"
                     "File8=\"unbalanced\r\n[ScreenList]\r\nFile2=C:\\other-section.scr\r\nFile9=C:\\late.scr\r\n");
    TConfigFile file(p, path);
    for (std::int32_t count : {0, 1, 4, 9, 100, 2147483647}) {
        std::vector<std::string> perKey;
        for (std::int32_t n = 0; n < std::min(count, 20); ++n) {
            std::string value = file.ReadString("ScreenList", "File" + std::to_string(n));
            if (!value.empty())
                perKey.push_back(value);
        }
        EXPECT_EQ(file.ReadList("ScreenList", count), perKey) << count;
    }
}
