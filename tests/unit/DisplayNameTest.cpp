// Display names on real small program images: the order of the sources (missing
// file, file name, description, shell name), the byte-exact ".scr" test, the
// 255-character limit, descriptions in any script, and the description of a
// language-neutral screensaver read from its language file.
#include <gtest/gtest.h>

#include <tuple>

#include "common/PathText.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeServices.h"
#include "settings/DisplayName.h"
#include "unit/PeImageBuilder.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

struct DisplayNames : ::testing::Test {
    FakeFileSystem files;
    FakeShell shell;
    Windows1252Codec codec;
    FakeUiLanguages languages;
    DisplayNameSources sources{files, shell, codec, languages};
    std::string Name(const std::string& path) { return GetDisplayName(sources, path); }
};

} // namespace

TEST_F(DisplayNames, MissingFilesFoldersAndEmptyPaths) {
    files.AddFolder("D:\\Savers\\old.scr");
    shell.displayNames["D:\\Savers\\old.scr"] = "old";
    EXPECT_EQ(Name("D:\\Savers\\old.scr"), "FILE NOT FOUND!");
    EXPECT_EQ(Name(""), "FILE NOT FOUND!");
    EXPECT_EQ(Name("D:\\Savers\\gone.scr"), "FILE NOT FOUND!");
    files.AddFile("D:\\Savers\\waves.scr", SaverWithDescription(u"Ocean Waves"));
    files.Remove("D:\\Savers\\waves.scr");
    EXPECT_EQ(Name("D:\\Savers\\waves.scr"), "FILE NOT FOUND!");
}

TEST_F(DisplayNames, DescriptionOfAScreenSaver) {
    files.AddFile("D:\\Savers\\waves.scr", SaverWithDescription(u"Ocean Waves"));
    EXPECT_EQ(Name("D:\\Savers\\waves.scr"), "Ocean Waves");
}

// The extension is compared as Windows compares file names: in any case.
TEST_F(DisplayNames, ExtensionTestIgnoresCase) {
    files.AddFile("D:\\SAVERS\\WAVES.SCR", SaverWithDescription(u"Ocean Waves"));
    files.AddFile("D:\\Savers\\mixed.Scr", SaverWithDescription(u"Stars"));
    EXPECT_EQ(Name("D:\\SAVERS\\WAVES.SCR"), "Ocean Waves");
    EXPECT_EQ(Name("D:\\Savers\\mixed.Scr"), "Stars");
    // The file system matches without regard to case: the stored path is what counts.
    EXPECT_EQ(Name("D:\\savers\\waves.scr"), "Ocean Waves");
}

TEST_F(DisplayNames, OtherFilesShowTheirFileName) {
    files.AddFile("D:\\Movies\\intro.swf", "FWS");
    files.AddFile("D:\\my.dir\\saver", SaverWithDescription(u"x"));
    files.AddFile("D:\\plain", "");
    files.AddFile("D:\\Savers\\waves.scr.bak", SaverWithDescription(u"x"));
    EXPECT_EQ(Name("D:\\Movies\\intro.swf"), "intro.swf");
    EXPECT_EQ(Name("D:\\my.dir\\saver"), "saver");
    EXPECT_EQ(Name("D:\\plain"), "plain");
    EXPECT_EQ(Name("D:\\Savers\\waves.scr.bak"), "waves.scr.bak");
}

TEST_F(DisplayNames, VeryLongPaths) {
    const std::string folder = "D:\\" + std::string(3000, 'f') + "\\";
    files.AddFile(folder + "intro.swf", "FWS");
    files.AddFile(folder + "waves.scr", SaverWithDescription(u"Ocean Waves"));
    EXPECT_EQ(Name(folder + "intro.swf"), "intro.swf");
    EXPECT_EQ(Name(folder + "waves.scr"), "Ocean Waves");
    EXPECT_EQ(Name(folder + std::string(5000, 'x') + ".scr"), "FILE NOT FOUND!");
}

TEST_F(DisplayNames, ScreenSaversWithoutADescriptionFallBackToTheShell) {
    PeBuilder noStringOne;
    noStringOne.String(20, u"elsewhere");
    files.AddFile("D:\\a.scr", noStringOne.Build());
    files.AddFile("D:\\b.scr", SaverWithDescription(u""));
    files.AddFile("D:\\c.scr", "This is a text file that merely ends in .scr\r\n");
    files.AddFile("D:\\d.scr", "");
    shell.displayNames = {{"D:\\a.scr", "a"}, {"D:\\b.scr", "b.scr"}, {"D:\\c.scr", "c"}, {"D:\\d.scr", "d"}};
    EXPECT_EQ(Name("D:\\a.scr"), "a");
    EXPECT_EQ(Name("D:\\b.scr"), "b.scr");
    EXPECT_EQ(Name("D:\\c.scr"), "c");
    EXPECT_EQ(Name("D:\\d.scr"), "d");
    files.AddFile("D:\\e.scr", "MZ");
    EXPECT_EQ(Name("D:\\e.scr"), "e.scr"); // the shell cannot tell either
}

TEST_F(DisplayNames, DescriptionsAreCutTo255Characters) {
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char16_t>(u'A' + i % 26);
    files.AddFile("D:\\long.scr", SaverWithDescription(text));
    const std::string name = Name("D:\\long.scr");
    ASSERT_EQ(name.size(), 255u);
    EXPECT_EQ(name, std::string(text.begin(), text.begin() + 255));
    files.AddFile("D:\\exact.scr", SaverWithDescription(std::u16string(255, u'z')));
    EXPECT_EQ(Name("D:\\exact.scr"), std::string(255, 'z'));
    // Counted in characters, not in the two bytes each of these takes.
    files.AddFile("D:\\cyrillic.scr", SaverWithDescription(std::u16string(300, u'\u0416')));
    std::string zhe;
    for (int i = 0; i < 255; ++i)
        zhe += "\xd0\x96";
    EXPECT_EQ(Name("D:\\cyrillic.scr"), zhe);
}

TEST_F(DisplayNames, DescriptionsKeepEveryScript) {
    files.AddFile("D:\\a.scr", SaverWithDescription(u"Caf\u00e9 \u20ac \u4e2d"));
    EXPECT_EQ(Name("D:\\a.scr"), "Caf\xc3\xa9 \xe2\x82\xac \xe4\xb8\xad");
    // A zero unit ends the text; one at the start leaves an empty name, not the shell's.
    files.AddFile("D:\\b.scr", SaverWithDescription(std::u16string(u"Ocean\0Waves", 11)));
    EXPECT_EQ(Name("D:\\b.scr"), "Ocean");
    files.AddFile("D:\\c.scr", SaverWithDescription(std::u16string(u"\0Waves", 6)));
    shell.displayNames["D:\\c.scr"] = "c";
    EXPECT_EQ(Name("D:\\c.scr"), "");
}

TEST_F(DisplayNames, ShellNameIsCutAtItsTerminatorAndField) {
    shell.displayNames["D:\\x.scr"] = std::string("short\0rest", 10);
    EXPECT_EQ(GetShellDisplayName(shell, "D:\\x.scr"), "short");
    shell.displayNames["D:\\y.scr"] = std::string(400, 'y');
    EXPECT_EQ(GetShellDisplayName(shell, "D:\\y.scr"), std::string(259, 'y'));
    EXPECT_EQ(GetShellDisplayName(shell, "D:\\unknown.scr"), "");
}

namespace {

// A language-neutral screensaver as Windows ships them: an "MUI" resource and no
// strings of its own, unless given some.
std::string Neutral(std::map<std::uint32_t, std::u16string> strings = {}, std::u16string type = u"MUI") {
    PeBuilder pe;
    pe.otherTypes = true;
    pe.otherTypeName = std::move(type);
    pe.languages = {{0x0409, std::move(strings)}};
    return pe.Build();
}

} // namespace

TEST_F(DisplayNames, LanguageNeutralScreenSaversReadTheirLanguageFile) {
    const std::vector<UiLanguage> de{{0x0407, "de-DE"}}, en{{0x0409, "en-US"}};
    PeBuilder noBlockOne;
    noBlockOne.String(20, u"elsewhere");
    // String 1 of the files de-DE\Bubbles.scr.mui and en-US\Bubbles.scr.mui beside
    // the saver: nullptr for no file, "" for one that is no program at all.
    struct Case {
        const char* what;
        std::vector<UiLanguage> preferred;
        std::string saver;
        const char16_t *deFile, *enFile;
        const char* name;
    } cases[] = {
        {"the user's language", de, Neutral(), u"Blasen", u"Bubbles", "Blasen"},
        {"English when the user's is missing", de, Neutral(), nullptr, u"Bubbles", "Bubbles"},
        {"a later preferred language", {{0x040C, "fr-FR"}, de[0]}, Neutral(), u"Blasen", u"Bubbles", "Blasen"},
        {"no block for string 1, no MUI", en, noBlockOne.Build(), nullptr, u"Bubbles", "Bubbles"},
        {"the language file before the saver's own", en, Neutral({{1, u"own"}}), nullptr, u"Bubbles", "Bubbles"},
        {"the saver's own without a language file", en, Neutral({{1, u"own"}}), nullptr, nullptr, "own"},
        {"no language file for a saver with string 1", en, SaverWithDescription(u"own"), nullptr, u"Bubbles", "own"},
        {"a type named like MUI is not MUI", en, Neutral({{1, u"own"}}, u"MUIX"), nullptr, u"Bubbles", "own"},
        {"a broken language file is passed over", de, Neutral(), u"", u"Bubbles", "Bubbles"},
        {"the shell's name without a usable one", en, Neutral(), nullptr, u"", "shell"},
    };
    const std::string saver = "C:\\Windows\\System32\\Bubbles.scr";
    shell.displayNames[saver] = "shell";
    for (const Case& c : cases) {
        FakeFileSystem caseFiles;
        caseFiles.AddFile(saver, c.saver);
        for (auto [folder, text, id] : {std::tuple{"de-DE", c.deFile, 0x0407}, {"en-US", c.enFile, 0x0409}}) {
            PeBuilder file;
            file.languages = {{static_cast<std::uint16_t>(id), {{1, text ? text : u""}}}};
            if (text)
                caseFiles.AddFile("C:\\Windows\\System32\\" + std::string(folder) + "\\Bubbles.scr.mui",
                                  *text ? file.Build() : "not a program");
        }
        languages.languages = c.preferred;
        DisplayNameSources caseSources{caseFiles, shell, codec, languages};
        EXPECT_EQ(GetDisplayName(caseSources, saver), c.name) << c.what;
    }
}

TEST(PathParts, FolderExtensionAndFileName) {
    struct Case {
        const char* path;
        const char* folder;
        const char* ext;
        const char* name;
    } cases[] = {
        {"D:\\Savers\\waves.scr", "D:\\Savers\\", ".scr", "waves.scr"},
        {"D:\\my.dir\\saver", "D:\\my.dir\\", "", "saver"},
        {"C:waves.scr", "C:", ".scr", "waves.scr"},
        {"D:\\a.b.swf", "D:\\", ".swf", "a.b.swf"},
        {"D:\\Savers\\", "D:\\Savers\\", "", ""},
        {"noext", "", "", "noext"},
        {"D:\\dot.", "D:\\", ".", "dot."},
        {"", "", "", ""},
        {"x.y:stream", "x.y:", "", "stream"},
        {"\\\\server\\share\\Lumivane.scr", "\\\\server\\share\\", ".scr", "Lumivane.scr"},
        {"C:/Savers/Lumivane.ini", "C:/Savers/", ".ini", "Lumivane.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    }
}
