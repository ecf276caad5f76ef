// The bad-file corpus (see BadIniCorpus.h).
#include "contract/BadIniCorpus.h"

#include <initializer_list>

// Each case names only the fields that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace lumivane::test {

namespace {

const std::string& kA = kCorpusA;
const std::string& kB = kCorpusB;
const std::string& kMovie = kCorpusMovie;
constexpr std::size_t kMegabyte = 1 << 20;
constexpr std::size_t kLongest = 2047; // what one read can return

std::string Crlf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// Bytes of every value 0..255 from a fixed generator, so the corpus is the same on
// every run.
std::string Garbage(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 0x2545F491u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

} // namespace

std::vector<BadIni> BadIniCorpus() {
    const std::string kValidTail = Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA});
    const std::string longPath = "C:\\" + std::string(kMegabyte, 'x');
    std::vector<BadIni> corpus = {
        {"EmptyFile", "", {}},
        {"BinaryGarbage", Garbage(64 * 1024), {}},
        {"OnlyNulBytes", std::string(4096, '\0'), {}},
        {"GarbageThenValidSections", Garbage(4096) + "\r\n" + kValidTail, {.screenCount = 1, .screenList = {kA}}},
        // One long line that opens with "[": everything up to its last "]" names a
        // section, so no section of ours exists.
        {"NoLineEnds", "[Amount]Total=2[ScreenList]File0=" + kA + "File1=" + kB + "[Misc]Sub=0", {}},
        // A lone CR ends a line as LF does.
        {"CarriageReturnsOnly",
         "[Amount]\rTotal=1\r[ScreenList]\rFile0=" + kA + "\r[Misc]\rSub=0\r",
         {.screenCount = 1, .screenList = {kA}, .sub = false}},
        {"LineFeedsOnly",
         "[Amount]\nTotal=1\nFlashTotal=1\n[ScreenList]\nFile0=" + kA + "\n[FlashList]\nFile0=" + kMovie +
             "\n[Misc]\nSub=0\n",
         {.screenCount = 1, .flashCount = 1, .screenList = {kA}, .flashList = {kMovie}, .sub = false}},
        {"NoLineEndAtTheEnd",
         "[Amount]\r\nTotal=1\r\n[ScreenList]\r\nFile0=" + kA,
         {.screenCount = 1, .screenList = {kA}}},
        {"MegabyteListEntry",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + longPath}),
         {.screenCount = 1, .screenList = {longPath.substr(0, kLongest)}}},
        // Cut to 2047 ones first, then converted: out of range, so the default.
        {"MegabyteCount",
         Crlf({"[Amount]", "Total=" + std::string(kMegabyte, '1'), "[ScreenList]", "File0=" + kA}),
         {}},
        // The cut keeps only zeros of a value whose last digit is a one.
        {"MegabyteOfZerosBeforeAOne",
         Crlf({"[Misc]", "Sub=" + std::string(kMegabyte - 1, '0') + "1",
               "FlashSize=" + std::string(kMegabyte, ' ') + "0"}),
         {.flashSize = false, .sub = false}},
        {"MegabyteNames",
         Crlf({"[" + std::string(kMegabyte, 'S') + "]", std::string(kMegabyte, 'K') + "=1", "[Misc]", "Sub=0"}),
         {.sub = false}},
        {"MegabyteRecentFolder",
         Crlf({"[RecentFolder]", "FolderName4=" + longPath}),
         {.newestFolder = longPath.substr(0, kLongest)}},
        {"LargestCount",
         Crlf({"[Amount]", "Total=2147483647", "[ScreenList]", "File0=" + kA, "File1=" + kB}),
         {.screenCount = INT32_MAX, .screenList = {kA, kB}}},
        {"LargestCountForTheActiveFlashList",
         Crlf({"[Amount]", "FlashTotal=2147483647", "[FlashList]", "File0=" + kMovie, "[RandomWhat]", "Type=1"}),
         {.flashCount = INT32_MAX, .flashList = {kMovie}, .listKind = 1}},
        {"SmallestCount",
         Crlf({"[Amount]", "Total=-2147483648", "FlashTotal=-2147483648", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = INT32_MIN, .flashCount = INT32_MIN}},
        {"CountsJustOutOfRange",
         Crlf({"[Amount]", "Total=2147483648", "FlashTotal=-2147483649", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {}},
        {"HexadecimalCounts",
         Crlf({"[Amount]", "Total=0x2", "FlashTotal=$1", "[ScreenList]", "File0=" + kA, "File1=" + kB, "[FlashList]",
               "File0=" + kMovie, "[RandomWhat]", "Type=0X1"}),
         {.screenCount = 2, .flashCount = 1, .screenList = {kA, kB}, .flashList = {kMovie}, .listKind = 1}},
        {"HexadecimalCountsWithoutZero",
         Crlf({"[Amount]", "Total=x2", "FlashTotal=X1", "[ScreenList]", "File0=" + kA, "File1=" + kB, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = 2, .flashCount = 1, .screenList = {kA, kB}, .flashList = {kMovie}}},
        // Hexadecimal is a 32-bit pattern: all ones is -1, the top bit alone the smallest count.
        {"HexadecimalPatterns",
         Crlf({"[Amount]", "Total=0xFFFFFFFF", "FlashTotal=$80000000", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie}),
         {.screenCount = -1, .flashCount = INT32_MIN}},
        {"HexadecimalTooWideOrEmpty",
         Crlf({"[Amount]", "Total=0x100000000", "FlashTotal=$", "[ScreenList]", "File0=" + kA, "[FlashList]",
               "File0=" + kMovie, "[Misc]", "Sub=0x", "FlashSize=0x0"}),
         {.flashSize = false}},
        {"DuplicateSections",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[Amount]", "Total=2", "[ScreenList]",
               "File1=" + kB}),
         {.screenCount = 1, .screenList = {kA}}},
        {"DuplicateKeys",
         Crlf({"[Amount]", "Total=1", "Total=2", "[ScreenList]", "File0=" + kA, "File0=" + kB, "[Misc]", "Sub=0",
               "Sub=1"}),
         {.screenCount = 1, .screenList = {kA}, .sub = false}},
        {"OddCase",
         Crlf({"[aMOUNT]", "tOTAL=2", "[screenlist]", "FILE0=" + kA, "file1=" + kB, "[RANDOMWHAT]", "type=0", "[misc]",
               "FLASHSIZE=0", "sUb=0", "[recentfolder]", "foldername4=D:\\Found\\"}),
         {.screenCount = 2, .screenList = {kA, kB}, .flashSize = false, .sub = false, .newestFolder = "D:\\Found\\"}},
        // "File00" and "File+1" are other keys than File0 and File1.
        {"LookalikeFileKeys",
         Crlf({"[Amount]", "Total=2", "[ScreenList]", "File00=" + kA, "File+1=" + kB}),
         {.screenCount = 2}},
        // Whether the broken line opens a section or not, the Total after it is not the first one.
        {"SectionHeaderWithoutBracket",
         Crlf({"[Amount]", "Total=1", "[Junk", "Total=5", "[ScreenList]", "File0=" + kA, "[Misc"}),
         {.screenCount = 1, .screenList = {kA}}},
        {"KeysWithoutEquals",
         Crlf({"[Amount]", "Total 3", "Total=2", "[ScreenList]", "File0=" + kA, "File1 " + kB, "[Misc]", "Sub",
               "FlashSize 0"}),
         {.screenCount = 2, .screenList = {kA}}},
        {"QuotedValues",
         Crlf({"[Amount]", "Total=\"2\"", "[ScreenList]", "File0=\"" + kA + "\"", "File1='" + kB + "'"}),
         {.screenCount = 2, .screenList = {kA, kB}}},
        {"GapsAndBlankEntries",
         Crlf({"[Amount]", "Total=4", "[ScreenList]", "File0=" + kA, "File1=", "File3=" + kB, "File4=C:\\late.scr"}),
         {.screenCount = 4, .screenList = {kA, kB}}},
        {"ListKindOutOfRange",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[RandomWhat]", "Type=3"}),
         {.screenCount = 1, .screenList = {kA}, .listKind = 3}},
        {"SmallestListKind",
         Crlf({"[Amount]", "Total=1", "[ScreenList]", "File0=" + kA, "[RandomWhat]", "Type=-2147483648"}),
         {.screenCount = 1, .screenList = {kA}, .listKind = INT32_MIN}},
        {"WordsForNumbers",
         Crlf({"[Amount]", "Total=two", "[RandomWhat]", "Type=one", "[Misc]", "FlashSize=false", "Sub=no"}),
         {}},
    };
    return corpus;
}

} // namespace lumivane::test
