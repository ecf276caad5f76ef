// The string-table reader on program images built in memory: where string 1 is
// found, which language the loader's rule takes, and that broken images
// (truncated, pointing outside the file, looping, with absurd counts) give
// nothing rather than a crash or a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fakes/FakeFileSystem.h"
#include "platform/PeStrings.h"
#include "unit/PeImageBuilder.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

std::optional<std::u16string> Read(const std::string& bytes, std::uint32_t id = 1,
                                   std::vector<std::uint16_t> preferred = {}) {
    FakeFileSystem files;
    files.AddFile("C:\\x.scr", bytes);
    auto file = files.OpenRead("C:\\x.scr");
    return ReadPeString(*file, id, preferred).text;
}

} // namespace

TEST(PeStringsFound, StringOneOfPe32AndPe32Plus) {
    for (bool plus : {false, true}) {
        PeBuilder pe;
        pe.pe32Plus = plus;
        pe.String(0, u"zero").String(1, u"Ocean Waves").String(2, u"two");
        EXPECT_EQ(Read(pe.Build()), u"Ocean Waves") << "PE32+ " << plus;
    }
}

TEST(PeStringsFound, OtherIdsUseTheirBlockAndIndex) {
    PeBuilder pe;
    pe.String(1, u"one").String(15, u"fifteen").String(16, u"sixteen").String(33, u"thirty-three");
    const std::string bytes = pe.Build();
    EXPECT_EQ(Read(bytes, 15), u"fifteen");
    EXPECT_EQ(Read(bytes, 16), u"sixteen"); // block 2, entry 0
    EXPECT_EQ(Read(bytes, 33), u"thirty-three");
    EXPECT_EQ(Read(bytes, 0), u"");           // present in block 1, stored empty
    EXPECT_EQ(Read(bytes, 48), std::nullopt); // block 4 does not exist
    EXPECT_EQ(Read(bytes, 0x10000), std::nullopt);
}

TEST(PeStringsFound, EmptyStringOneIsPresentButEmpty) {
    PeBuilder pe;
    pe.String(0, u"zero").String(1, u"");
    EXPECT_EQ(Read(pe.Build()), u"");
}

TEST(PeStringsFound, NoStringBlockOneGivesNothing) {
    PeBuilder pe;
    pe.String(20, u"block two only");
    EXPECT_EQ(Read(pe.Build()), std::nullopt);
    PeBuilder none; // a string table with no block at all
    EXPECT_EQ(Read(none.Build()), std::nullopt);
}

TEST(PeStringsLanguage, TheLoadersOrder) {
    // Arabic (0x0001) sorts first in a directory, so "first listed" alone would
    // show most users a multilingual file in Arabic.
    struct Case {
        std::vector<std::uint16_t> preferred, available;
        std::optional<std::uint16_t> taken;
    } cases[] = {
        {{0x0407}, {0x0001, 0x0407, 0x0007, 0x0409}, 0x0407}, // the user's own
        {{0x0407}, {0x0001, 0x0007, 0x0409}, 0x0007},         // its primary language
        {{0x0C07}, {0x0001, 0x0407, 0x0807, 0x0409}, 0x0407}, // another sublanguage, first listed
        {{0x0C07}, {0x0407, 0x0007}, 0x0007},                 // the primary one before that
        {{0x040C, 0x0407}, {0x0407, 0x0C0C}, 0x0407},         // every exact match before any other
        {{0x040C, 0x0407}, {0x0807, 0x0C0C}, 0x0C0C},         // then by preference again
        {{0x0411}, {0x0000, 0x0407, 0x0409}, 0x0000},         // neutral
        {{0x0411}, {0x0400, 0x0409}, 0x0400},                 // neutral with a sublanguage
        {{0x0411}, {0x0001, 0x0407, 0x0409}, 0x0409},         // English (United States)
        {{0x0409}, {0x0001, 0x0009, 0x0809}, 0x0009},         // English by its primary language
        {{0x0411}, {0x0001, 0x0407}, 0x0001},                 // the first listed
        {{}, {0x0001, 0x0407, 0x0409}, 0x0409},               // no preference
        {{0x0407}, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto index = PickLanguage(c.available, c.preferred);
        const auto taken = index ? std::optional<std::uint16_t>(c.available[*index]) : std::nullopt;
        EXPECT_EQ(taken, c.taken) << "preferred " << (c.preferred.empty() ? 0 : c.preferred[0]) << " among "
                                  << c.available.size();
    }
}

TEST(PeStringsLanguage, BlocksAreReadInTheTakenLanguage) {
    PeBuilder pe;
    pe.languages = {{0x0001, {{1, u"\u0645\u0633\u062a\u0643\u0634\u0641"}, {17, u"ar"}}},
                    {0x0007, {{1, u"Wine-Explorer"}}},
                    {0x0409, {{1, u"Wine Explorer"}}}};
    const std::string bytes = pe.Build();
    EXPECT_EQ(Read(bytes, 1, {0x0407}), u"Wine-Explorer");
    EXPECT_EQ(Read(bytes, 1, {0x0411}), u"Wine Explorer");
    EXPECT_EQ(Read(bytes, 1), u"Wine Explorer");
    EXPECT_EQ(Read(bytes, 17, {0x0001}), u"ar");
}

TEST(PeStringsFound, OtherTypesAndNamedEntriesAreSkipped) {
    PeBuilder pe;
    pe.otherTypes = true;
    pe.String(1, u"Starfield");
    EXPECT_EQ(Read(pe.Build()), u"Starfield");
}

TEST(PeStringsFound, UnitsComeBackAsStored) {
    PeBuilder pe;
    const std::u16string text = u"Caf\u00e9 \u20ac \xD83D\xDE00 a\0b";
    pe.String(1, std::u16string(text.data(), 12));
    EXPECT_EQ(Read(pe.Build()), std::u16string(text.data(), 12));
}

TEST(PeStringsFound, LongestStringIsRead) {
    PeBuilder pe;
    pe.String(1, std::u16string(65535, u'x'));
    EXPECT_EQ(Read(pe.Build())->size(), 65535u);
}

TEST(PeStringsBroken, NotAProgramImage) {
    EXPECT_EQ(Read(""), std::nullopt);
    EXPECT_EQ(Read("MZ"), std::nullopt);
    EXPECT_EQ(Read("Ocean Waves, a text file that merely ends in .scr\r\n"), std::nullopt);
    PeBuilder pe;
    pe.String(1, u"x");
    const std::string good = pe.Build();

    std::string badMz = good;
    badMz[0] = 'N';
    EXPECT_EQ(Read(badMz), std::nullopt);
    std::string badPe = good;
    badPe[0x41] = 'X';
    EXPECT_EQ(Read(badPe), std::nullopt);
    std::string romImage = good;
    Put16(romImage, pe.layout.optionalMagic, 0x107);
    EXPECT_EQ(Read(romImage), std::nullopt);
    std::string twoDirectories = good; // no room for the resource directory
    Put32(twoDirectories, pe.layout.rvaCountField, 2);
    EXPECT_EQ(Read(twoDirectories), std::nullopt);
    std::string noResources = good;
    Put32(noResources, pe.layout.resourceDirectoryField, 0);
    EXPECT_EQ(Read(noResources), std::nullopt);
}

TEST(PeStringsBroken, EveryTruncationGivesNothingOrTheWholeString) {
    PeBuilder pe;
    pe.String(1, u"Ocean Waves").String(2, u"after");
    const std::string good = pe.Build();
    ASSERT_EQ(Read(good), u"Ocean Waves");
    for (std::size_t size = 0; size < good.size(); ++size) {
        const auto text = Read(good.substr(0, size));
        if (size < pe.layout.firstBlockData + 2 + 2 + 2 * 11)
            EXPECT_EQ(text, std::nullopt) << size;
        else
            EXPECT_EQ(text, u"Ocean Waves") << size; // string 1 lies before the cut
    }
}

TEST(PeStringsBroken, OffsetsOutsideTheFile) {
    PeBuilder pe;
    pe.String(1, u"Ocean Waves");
    const std::string good = pe.Build();
    const std::size_t h = pe.layout.sectionHeader;
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    } cases[] = {
        {"PE header offset", 0x3C, 0xFFFFFFF0u},
        {"PE header offset past the end", 0x3C, static_cast<std::uint32_t>(good.size())},
        {"section count", 0x46, 0xFFFF},
        {"optional header size", 0x54, 0xFFFF},
        {"resource RVA outside every section", pe.layout.resourceDirectoryField, 0x9000},
        {"raw data pointer", h + 20, 0xFFFFFF00u},
        {"raw data size", h + 16, 0},
        {"block data RVA", pe.layout.firstDataEntry, 0x7FFFFFF0u},
        {"block data size", pe.layout.firstDataEntry + 4, 3},
        {"type table offset", pe.layout.rootTable + 16 + 4, 0x80000000u | 0x7FFFFFF0u},
        {"block table offset", pe.layout.typeTable + 16 + 4, 0x80000000u | 0x00FFFFFFu},
        {"data entry offset", pe.layout.firstBlockTable + 16 + 4, 0x7FFFFFF0u},
        {"root id count", pe.layout.rootTable + 14, 0xFFFF},
        {"root named count", pe.layout.rootTable + 12, 0xFFFF},
        {"string 0 length", pe.layout.firstBlockData, 0xFFFF},
    };
    for (const Case& c : cases) {
        std::string bad = good;
        if (c.at == 0x46 || c.at == 0x54 || c.at == pe.layout.rootTable + 14 || c.at == pe.layout.rootTable + 12 ||
            c.at == pe.layout.firstBlockData)
            Put16(bad, c.at, static_cast<std::uint16_t>(c.value));
        else
            Put32(bad, c.at, c.value);
        EXPECT_EQ(Read(bad), std::nullopt) << c.what;
    }
    // A section that claims more bytes than the file has is still read where the
    // bytes needed are there.
    std::string longSection = good;
    Put32(longSection, h + 16, 0xFFFFFFFFu);
    EXPECT_EQ(Read(longSection), u"Ocean Waves");
}

TEST(PeStringsBroken, LoopsInTheTreeEndAfterThreeLevels) {
    PeBuilder pe;
    pe.String(1, u"Ocean Waves");
    const std::string good = pe.Build();
    const std::uint32_t toRoot = 0x80000000u;
    const auto typeOffset = static_cast<std::uint32_t>(pe.layout.typeTable - pe.layout.sectionData);

    std::string typeToRoot = good; // RT_STRING points back at the root
    Put32(typeToRoot, pe.layout.rootTable + 16 + 4, toRoot);
    EXPECT_EQ(Read(typeToRoot), std::nullopt);
    std::string blockToItself = good; // block 1 points at its own type table
    Put32(blockToItself, pe.layout.typeTable + 16 + 4, toRoot | typeOffset);
    EXPECT_EQ(Read(blockToItself), std::nullopt);
    std::string languageIsDirectory = good; // the language level names a directory again
    Put32(languageIsDirectory, pe.layout.firstBlockTable + 16 + 4, toRoot);
    EXPECT_EQ(Read(languageIsDirectory), std::nullopt);
    std::string typeIsData = good; // RT_STRING is a data entry instead of a directory
    Put32(typeIsData, pe.layout.rootTable + 16 + 4, typeOffset);
    EXPECT_EQ(Read(typeIsData), std::nullopt);
}

namespace {

// An image in memory that counts the reads made of it; `claimedSize` lets it say
// it is longer than its bytes, as a file cut short while being read would.
class CountingFile : public InputFile {
public:
    explicit CountingFile(std::string bytes) : bytes_(std::move(bytes)), claimedSize(bytes_.size()) {}
    std::uint64_t Size() override { return claimedSize; }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        ++reads;
        if (offset >= bytes_.size())
            return 0;
        const std::size_t n = std::min<std::size_t>(count, bytes_.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }

    int reads = 0;

private:
    std::string bytes_;

public:
    std::uint64_t claimedSize;
};

} // namespace

TEST(PeStringsReads, SmallReadsShareTheFilesPages) {
    // Headers, directory tables and the string all lie in the first page: one read
    // of the file, where a read per field would take a dozen.
    PeBuilder pe;
    pe.String(0, u"zero").String(1, u"Ocean Waves");
    CountingFile file(pe.Build());
    EXPECT_EQ(ReadPeString(file, 1).text, u"Ocean Waves");
    EXPECT_EQ(file.reads, 1);
}

TEST(PeStringsReads, StringsAcrossPageEndsComeBackWhole) {
    // String 0 pushes string 1's length field and text across the 4,096-byte
    // boundary, two bytes at a time.
    PeBuilder probe;
    probe.String(0, u"").String(1, u"Ocean Waves").String(2, u"after");
    probe.Build();
    const std::size_t stringOne = probe.layout.firstBlockData + 2; // with an empty string 0
    for (std::size_t units = (4096 - 30 - stringOne) / 2; units <= (4096 + 2 - stringOne) / 2; ++units) {
        PeBuilder pe;
        pe.String(0, std::u16string(units, u'z')).String(1, u"Ocean Waves").String(2, u"after");
        const std::string bytes = pe.Build();
        ASSERT_GT(bytes.size(), 4096u);
        EXPECT_EQ(Read(bytes), u"Ocean Waves") << units;
        EXPECT_EQ(Read(bytes, 2), u"after") << units;
    }
}

TEST(PeStringsReads, FileShorterThanItsSizeGivesNothing) {
    PeBuilder pe;
    pe.String(0, std::u16string(3000, u'z')).String(1, u"Ocean Waves");
    const std::string bytes = pe.Build();
    for (std::size_t cut : {std::size_t{100}, std::size_t{4096}, bytes.size() - 2}) {
        CountingFile file(bytes.substr(0, cut));
        file.claimedSize = bytes.size();
        EXPECT_EQ(ReadPeString(file, 1).text, std::nullopt) << cut;
    }
}
