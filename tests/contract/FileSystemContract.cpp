// The file system rules the program relies on, checked against the fake and
// against the real Windows functions.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/World.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(FileSystemContract, FileExistsIsTrueOnlyForFiles) {
    const std::string root = FilesRoot();
    MakeFile(root + "waves.scr", "x", attr::kArchive);
    MakeFolder(root + "old.scr", attr::kDirectory);
    FileSystem& fs = Files();
    EXPECT_TRUE(fs.FileExists(root + "waves.scr"));
    EXPECT_TRUE(fs.FileExists(root + "WAVES.SCR"));
    EXPECT_FALSE(fs.FileExists(root + "old.scr"));
    EXPECT_FALSE(fs.FileExists(root + "missing.scr"));
    EXPECT_FALSE(fs.FileExists(""));
}

TEST(FileSystemContract, EnumerationByMaskWithAttributes) {
    const std::string root = FilesRoot();
    MakeFile(root + "a.scr", "", attr::kArchive);
    MakeFile(root + "hidden.scr", "", attr::kHidden | attr::kArchive);
    MakeFile(root + "b.swf", "", attr::kArchive);
    MakeFolder(root + "sub", attr::kDirectory);
    MakeFolder(root + "hid", attr::kDirectory | attr::kHidden);
    FileSystem& fs = Files();
    EXPECT_EQ(Names(fs.FindFiles(root + "*.scr")), (std::vector<std::string>{"a.scr", "hidden.scr"}));
    auto all = fs.FindFiles(root + "*.*");
    EXPECT_EQ(Names(all), (std::vector<std::string>{".", "..", "a.scr", "b.swf", "hid", "hidden.scr", "sub"}));
    for (const auto& e : all) {
        if (e.name == "sub" || e.name == "." || e.name == "..") {
            EXPECT_EQ(e.attributes, attr::kDirectory) << e.name;
        } else if (e.name == "hid") { // a folder with one more bit than the directory bit
            EXPECT_EQ(e.attributes, attr::kDirectory | attr::kHidden);
        } else if (e.name == "hidden.scr") {
            EXPECT_TRUE(e.attributes & attr::kHidden);
        }
    }
    EXPECT_TRUE(fs.FindFiles(root + "nothere\\*.*").empty());
    EXPECT_EQ(Names(fs.FindFiles(root + "sub\\\\*.*")), (std::vector<std::string>{".", ".."}));
}

TEST(FileSystemContract, OpenReadGivesTheBytesAndFailsForMissingFilesAndFolders) {
    const std::string root = FilesRoot();
    MakeFile(root + "m.swf",
             "FWS\x06"
             "abcdefghijklmnopqrstu",
             attr::kArchive);
    MakeFolder(root + "dir", attr::kDirectory);
    FileSystem& fs = Files();
    auto file = fs.OpenRead(root + "m.swf");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), 25u);
    char buffer[17] = {};
    EXPECT_EQ(file->ReadAt(8, buffer, 17), 17u);
    EXPECT_EQ(std::string(buffer, 17), "efghijklmnopqrstu");
    EXPECT_EQ(file->ReadAt(20, buffer, 17), 5u);
    EXPECT_EQ(file->ReadAt(100, buffer, 17), 0u);
    EXPECT_FALSE(fs.OpenRead(root + "none.swf"));
    EXPECT_FALSE(fs.OpenRead(root + "dir"));
}

TEST(SemaphoreContract, SecondCreateFindsTheFirst) {
    const std::string name = UniqueName("LumivaneContract");
    EXPECT_EQ(Semaphores().CreateOrOpen(name), SemaphoreResult::Created);
    EXPECT_EQ(Semaphores().CreateOrOpen(name), SemaphoreResult::AlreadyExists);
    EXPECT_EQ(Semaphores().CreateOrOpen(name + "2"), SemaphoreResult::Created);
}

TEST(DrivesContract, RootsInLetterOrderWithTypes) {
    auto roots = DriveList().LogicalDriveStrings();
    ASSERT_FALSE(roots.empty());
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (const auto& root : roots) {
        ASSERT_EQ(root.size(), 3u) << root;
        EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z') << root;
        EXPECT_EQ(root.substr(1), ":\\");
    }
    EXPECT_EQ(DriveList().TypeOf("C:\\"), DriveType::Fixed);
}

TEST(ShellContract, DisplayNameOfAFileAndOfNothing) {
    const std::string root = FilesRoot();
    MakeFile(root + "intro.swf", "x", attr::kArchive);
    ExpectDisplayName(root + "intro.swf", "intro.swf");
    const std::string name = TheShell().DisplayName(root + "intro.swf");
    EXPECT_EQ(name.rfind("intro", 0), 0u) << name; // with or without the extension
    EXPECT_EQ(TheShell().DisplayName(root + "missing.swf"), "");
}
