// Paths past MAX_PATH as the W functions get them: made full and normal before
// the "\\?\" prefix, under which the system takes every character as it stands;
// and the short form the shell is handed for such a path.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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
        {"short once normal", "D:\\" + deep + std::string(25, '\\') + "\\..\\..\\..\\..\\..\\..\\a.scr", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string got = Narrow(WidePath(c.path));
        if (c.expected.empty()) {
            EXPECT_LT(got.size(), static_cast<std::size_t>(MAX_PATH - 12));
            EXPECT_EQ(got.find("\\\\"), std::string::npos) << got;
        } else {
            EXPECT_EQ(got, c.expected);
        }
    }
}

// A saver 14 folders deep goes to the shell by its short name, which names the
// same file. 25 folders deep even the short name is too long, and a long path
// that names no file has none.
TEST(WidePath, TheShellGetsTheShortFormOfALongPath) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::string folder = Narrow(temp) + "lumivane-short-" + std::to_string(GetCurrentProcessId());
    const std::string top = folder;
    ASSERT_TRUE(CreateDirectoryW(W(WidePath(top)), nullptr));
    std::string savers[2];
    for (int i = 1; i <= 25; ++i) {
        folder += "\\Long Folder Name " + std::to_string(i);
        ASSERT_TRUE(CreateDirectoryW(W(WidePath(folder)), nullptr)) << i;
        if (i == 14 || i == 25) {
            std::string& saver = savers[i == 25];
            saver = folder + "\\Ocean Waves.scr";
            ASSERT_TRUE(FileHandle(CreateFileW(W(WidePath(saver)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
        }
    }
    ASSERT_GE(savers[0].size(), static_cast<std::size_t>(MAX_PATH));

    const std::u16string shortForm = ShellPath(savers[0]);
    EXPECT_FALSE(shortForm.empty());
    EXPECT_LT(shortForm.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_NE(shortForm.rfind(u"\\\\?\\", 0), 0u);
    EXPECT_NE(GetFileAttributesW(W(shortForm)), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ShellPath(savers[1]).empty());
    EXPECT_TRUE(ShellPath(folder + "\\Gone.scr").empty());
    EXPECT_EQ(Narrow(ShellPath("C:\\short.scr")), "C:\\short.scr");

    for (const std::string& saver : savers)
        DeleteFileW(W(WidePath(saver)));
    for (std::string f = folder; f.size() >= top.size(); f.erase(f.find_last_of('\\')))
        RemoveDirectoryW(W(WidePath(f)));
}
