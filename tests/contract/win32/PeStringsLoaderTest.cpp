// Our string-table reader against the system's own: the same built images, and
// every program file of the Wine prefix, read by our reader from their bytes and
// by LoadStringW from the file mapped as a resource-only module, must give the
// same strings for every id, in the language the run's locale makes the user's.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>

#include "contract/win32/WineModules.h"
#include "platform/PeStrings.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32UiLanguages.h"
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
    const win32::Library module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module) << "image " << n << " error " << GetLastError();
    if (!module)
        return -1;
    win32::Win32FileSystem files;
    for (std::uint32_t id = 0; id < 64; ++id) {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module.Get(), id, reinterpret_cast<wchar_t*>(&text), 0);
        auto file = files.OpenRead(path);
        if (!file)
            return -1;
        const auto ours = ReadPeString(*file, id).text;
        if (length <= 0) {
            EXPECT_TRUE(!ours || ours->empty()) << "image " << n << " id " << id;
        } else {
            ++found;
            EXPECT_TRUE(ours) << "image " << n << " id " << id;
            if (ours) {
                EXPECT_EQ(*ours,
                          std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)))
                    << "image " << n << " id " << id;
            }
        }
    }
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

namespace {

std::u16string Loaded(HMODULE module, std::uint32_t id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

} // namespace

// Run once per locale (CTest's pe_corpus_* tests); LUMIVANE_UI_LANGUAGE names the
// language the locale must give, so that a locale missing on the machine, which
// leaves Wine in English, fails the run instead of proving nothing.
TEST(PeStringsCorpus, EveryWineModuleAsLoadStringReadsIt) {
    win32::Win32UiLanguages ui;
    const std::vector<UiLanguage> preferred = ui.Preferred();
    ASSERT_FALSE(preferred.empty());
    if (const char* expected = std::getenv("LUMIVANE_UI_LANGUAGE")) {
        ASSERT_EQ(preferred.front().name, expected);
    }
    std::vector<std::uint16_t> preferredIds;
    for (const UiLanguage& language : preferred)
        preferredIds.push_back(language.id);

    win32::Win32FileSystem files;
    const std::vector<std::string> modules = WineModules(files);
    int loaded = 0, withStrings = 0, notFirstLanguage = 0;
    long ids = 0, strings = 0;
    std::set<std::uint16_t> languages;
    for (const std::string& path : modules) {
        const win32::Library module(
            LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        loaded += !!module;
        const StringBlocks blocks = module ? StringTable(module.Get()) : StringBlocks{};
        if (blocks.empty()) { // a DOS program, a stub, a module without strings: none for us either
            EXPECT_EQ(LoadPeString(files, path, 1, preferred).value_or(u""), u"") << path;
            continue;
        }
        ++withStrings;
        bool tookAnother = false;
        for (const auto& [block, blockLanguages] : blocks) {
            languages.insert(blockLanguages.begin(), blockLanguages.end());
            tookAnother = tookAnother || PickLanguage(blockLanguages, preferredIds) != 0;
            for (std::uint32_t id = (block - 1u) * 16; id < block * 16u; ++id, ++ids) {
                const std::u16string theirs = Loaded(module.Get(), id);
                strings += !theirs.empty();
                EXPECT_EQ(LoadPeString(files, path, id, preferred).value_or(u""), theirs) << path << " id " << id;
            }
        }
        notFirstLanguage += tookAnother;
    }
    std::cout << "PE corpus (" << preferred.front().name << "): " << modules.size() << " files, " << loaded
              << " modules, " << withStrings << " with string tables in " << languages.size() << " languages, " << ids
              << " ids, " << strings << " strings agree; " << notFirstLanguage
              << " modules read in another language than their first listed\n";
    // A corpus in which the language never mattered would prove nothing of the rule.
    EXPECT_GT(loaded, 600);
    EXPECT_GT(notFirstLanguage, 10);
}
