// The system's text rules as the profile files and the search results rely on
// them, checked against the portable codec and against the system's functions.
#include <gtest/gtest.h>

#include "common/Utf.h"
#include "contract/TextWorld.h"
#include "platform/TextCodec.h"

using namespace lumivane;
using namespace lumivane::contract;

TEST(TextCodecContract, AsciiAndZeroPassUnchanged) {
    EXPECT_EQ(Codec().AnsiToUtf8("Ocean Waves 1.0 [~]"), "Ocean Waves 1.0 [~]");
    EXPECT_EQ(Codec().AnsiToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Codec().Utf8ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Codec().Utf8ToAnsi(""), "");
    EXPECT_EQ(Codec().UpperFileName("ocean waves 1.0 [~]{|}`@_"), "OCEAN WAVES 1.0 [~]{|}`@_");
    EXPECT_EQ(Codec().UpperFileName(std::string("a\0b", 3)), std::string("A\0B", 3));
}

// Every byte of the code page reads as the system reads it and goes back to
// itself; characters it lacks, or holds only as a best fit, do not fit.
TEST(TextCodecContract, WesternCodePage) {
    if (AnsiCodePage() != 1252)
        GTEST_SKIP() << "ANSI code page " << AnsiCodePage();
    Windows1252Codec portable;
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string text = Codec().AnsiToUtf8(one);
        EXPECT_EQ(text, portable.AnsiToUtf8(one)) << "byte 0x" << std::hex << b;
        EXPECT_EQ(Codec().Utf8ToAnsi(text), one) << "byte 0x" << std::hex << b;
    }
    EXPECT_EQ(Codec().AnsiToUtf8("Caf\xe9 \x80\x99"), "Caf\xc3\xa9 \xe2\x82\xac\xe2\x84\xa2");
    for (const char* lacking :
         {"\xd0\x9f\xd1\x80\xd0\xb8", "\xe6\x97\xa5\xe6\x9c\xac", "\xc4\x81", "a\xf0\x9f\x98\x80"})
        EXPECT_EQ(Codec().Utf8ToAnsi(lacking), std::nullopt) << lacking;
}

// The results of a search show file names in capitals by the system's rule,
// which, unlike the lists' ASCII rule, reaches accented, Greek and Cyrillic
// letters; one character at a time, so that a difference names its character.
TEST(TextCodecContract, FileNameCapitals) {
    Windows1252Codec portable;
    std::u16string letters;
    for (char16_t c = 0x20; c < 0x100; ++c)
        letters += c;
    for (char16_t c : {0x152, 0x153, 0x160, 0x161, 0x178, 0x17D, 0x17E})
        letters += c;
    for (char16_t c = 0x391; c <= 0x3C9; ++c)
        letters += c;
    for (char16_t c = 0x400; c <= 0x45F; ++c)
        letters += c;
    letters += u"\u65e5\u672c";
    for (char16_t c : letters) {
        const std::string one = Utf16ToUtf8(std::u16string(1, c));
        EXPECT_EQ(Codec().UpperFileName(one), portable.UpperFileName(one)) << "U+" << std::hex << int(c);
    }
    EXPECT_EQ(Codec().UpperFileName("\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.scr"),
              "\xd0\x9f\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2.SCR");
}
