// Paths past MAX_PATH as the W functions get them: made full and normal before
// the "\\?\" prefix, under which the system takes every character as it stands;
// and the short form the shell is handed for such a path.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

using namespace lumivane::win32;

namespace {

// 25 folders of ten characters: 275 characters, past MAX_PATH wherever it starts.
std::string Deep(const std::string& separator = "\\") {
    std::string deep;
    for (int i = 0; i < 25; ++i)
        deep += (i ? separator : "") + std::string("folder") + std::to_string(1000 + i);
    return deep;
}

} // namespace

TEST(WidePath, LongPathsAreMadeFullAndNormalBeforeThePrefix) {
    const std::string deep = Deep();
    struct Case {
        const char* what;
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"a folder chosen at a drive root", "D:\\\\" + deep + "\\a.scr", "\\\\?\\D:\\" + deep + "\\a.scr"},
        {"dot and dot-dot folders", "D:\\x\\..\\.\\" + deep + "\\a.scr", "\\\\?\\D:\\" + deep + "\\a.scr"},
        {"forward slashes", "D:/" + Deep("/") + "/a.scr", "\\\\?\\D:\\" + deep + "\\a.scr"},
        {"a share", "\\\\server\\share\\\\" + deep, "\\\\?\\UNC\\server\\share\\" + deep},
        {"a name outside ASCII",
         "D:\\Gr\xc3\xb6\xc3\x9f"
         "e\\" +
             deep,
         "\\\\?\\D:\\Gr\xc3\xb6\xc3\x9f"
         "e\\" +
             deep},
        {"already in the long form", "\\\\?\\D:\\" + deep, "\\\\?\\D:\\" + deep},
        {"short enough for the API as it is", "D:\\\\sub\\a.scr", "D:\\\\sub\\a.scr"},
        {"short once normal", "D:\\a\\" + std::string(250, '\\') + "b\\..\\c.scr", "D:\\a\\c.scr"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Narrow(WidePath(c.path)), c.expected) << c.what;
}

// A saver 14 folders deep goes to the shell by its short name, which names the
// same file; 25 deep even that is too long, and a file that is not has none.
TEST(WidePath, TheShellGetsTheShortFormOfALongPath) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::string folder = Narrow(temp) + "lumivane-short-" + std::to_string(GetCurrentProcessId()), savers[2];
    std::vector<std::string> made{folder};
    for (int i = 1; i <= 25; ++i)
        made.push_back(folder += "\\Long Folder Name " + std::to_string(i));
    for (const std::string& f : made)
        ASSERT_TRUE(CreateDirectoryW(W(WidePath(f)), nullptr));
    for (int i : {0, 1}) {
        savers[i] = made[i ? 25 : 14] + "\\Ocean Waves.scr";
        ASSERT_TRUE(FileHandle(CreateFileW(W(WidePath(savers[i])), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    }
    const std::u16string shortForm = ShellPath(savers[0]);
    EXPECT_LT(shortForm.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(shortForm.find(u'?'), std::u16string::npos);
    EXPECT_NE(GetFileAttributesW(W(shortForm)), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ShellPath(savers[1]).empty());
    EXPECT_TRUE(ShellPath(made[14] + "\\Gone.scr").empty());

    for (const std::string& saver : savers)
        DeleteFileW(W(WidePath(saver)));
    for (auto f = made.rbegin(); f != made.rend(); ++f)
        RemoveDirectoryW(W(WidePath(*f)));
}
