// What the profile file does on Windows beyond the contract: the reads that fail
// without the file being missing, a lock whose holder ended, and the code pages.
#include <gtest/gtest.h>

#include <thread>

#include "contract/World.h"
#include "platform/ProfileDocument.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32TextCodec.h"

using namespace lumivane;

TEST(Win32ProfileFile, OnlyWhatIsNotThereIsMissing) {
    const std::string folder = contract::ProfileFolder();
    contract::MakePlainFolder(folder + "Lumivane.ini");
    win32::Win32ProfileFile profile;
    const struct {
        std::string path;
        ProfileRead status;
    } cases[] = {
        {folder + "Lumivane.ini", ProfileRead::Missing}, // a folder at the path
        {folder + "none.ini", ProfileRead::Missing},
        {folder + "none\\Lumivane.ini", ProfileRead::Missing},
        {folder + "a<b>\\Lumivane.ini", ProfileRead::Unreadable}, // no name the system takes
    };
    for (const auto& c : cases)
        EXPECT_EQ(profile.Read(c.path).status, c.status) << c.path;
}

// A process that ended while it held the lock wrote nothing torn: every write is
// a rename, so the lock is had at once.
TEST(Win32ProfileFile, ALockWhoseHolderEndedIsHeld) {
    const std::string path = contract::ProfileFolder() + "Lumivane.ini";
    win32::Win32ProfileFile profile;
    std::thread([&] { (void)profile.Lock(path, 1000).release(); }).join(); // ends holding it
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(profile.Lock(path, 5000)->Held());
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

// With UTF-8 as the system code page ("Use Unicode UTF-8") every name fits, so
// Lumivane.ini stays in the code page instead of turning to UTF-16. (GB18030
// follows the same rule on Windows; Wine has no converter for it.)
TEST(Win32TextCodec, CodePagesOfEveryCharacterKeepTheFileInTheCodePage) {
    const std::string text = "[ScreenList]\r\nFile0=D:\\\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.scr\r\n"
                             "File1=D:\\\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8c\x8a.scr\r\n";
    win32::Win32TextCodec utf8(CP_UTF8);
    EXPECT_EQ(utf8.Utf8ToAnsi(text), std::optional<std::string>(text));
    const std::string file = EncodeProfile(text, ProfileForm::Ansi, utf8);
    EXPECT_EQ(file, text);
    EXPECT_EQ(DecodeProfile(file, utf8).text, text);
    // A Western code page still refuses what it cannot spell.
    win32::Win32TextCodec western(1252);
    EXPECT_FALSE(western.Utf8ToAnsi("\xd0\x9f"));
    EXPECT_EQ(western.Utf8ToAnsi("caf\xc3\xa9"), std::optional<std::string>("caf\xe9"));
}
