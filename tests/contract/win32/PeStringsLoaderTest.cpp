// Our string-table reader against the system's own: the same built images, read
// by ReadPeString from their bytes and by LoadStringW from the file mapped as a
// resource-only module, must give the same strings for every id.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "platform/PeStrings.h"
#include "platform/win32/Win32FileSystem.h"
#include "unit/PeImageBuilder.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

std::string TempImage(const std::string& bytes, int n) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path =
        std::string(temp) + "lumivane-pe-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n) + ".scr";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Returns how many non-empty strings both found.
int Compare(PeBuilder& pe, int n) {
    int found = 0;
    const std::string path = TempImage(pe.Build(), n);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, nullptr) << "image " << n << " error " << GetLastError();
    if (!module)
        return -1;
    win32::Win32FileSystem files;
    for (std::uint32_t id = 0; id < 64; ++id) {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
        auto file = files.OpenRead(path);
        if (!file)
            return -1;
        const auto ours = ReadPeString(*file, id).text;
        if (length <= 0) {
            EXPECT_TRUE(!ours || ours->empty()) << "image " << n << " id " << id;
        } else {
            ++found;
            EXPECT_TRUE(ours) << "image " << n << " id " << id;
            if (ours)
                EXPECT_EQ(*ours,
                          std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)))
                    << "image " << n << " id " << id;
        }
    }
    FreeLibrary(module);
    DeleteFileA(path.c_str());
    return found;
}

} // namespace

TEST(PeStringsLoader, SameStringsAsTheSystem) {
    PeBuilder plain;
    plain.String(1, u"Ocean Waves");
    PeBuilder plus;
    plus.pe32Plus = true;
    plus.String(0, u"zero").String(1, u"Starfield").String(15, u"last of block 1").String(33, u"block 3");
    PeBuilder empty;
    empty.String(0, u"zero").String(1, u"");
    PeBuilder others;
    others.otherTypes = true;
    others.String(1, u"Caf\u00e9 \u20ac").String(17, std::u16string(300, u'x'));
    PeBuilder noBlockOne;
    noBlockOne.String(20, u"block two only");
    EXPECT_EQ(Compare(plain, 1), 1);
    EXPECT_EQ(Compare(plus, 2), 4);
    EXPECT_EQ(Compare(empty, 3), 1);
    EXPECT_EQ(Compare(others, 4), 2);
    EXPECT_EQ(Compare(noBlockOne, 5), 1);
}
