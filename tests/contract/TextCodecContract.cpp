// UTF-16 to ANSI conversion as the display names rely on it, checked against the
// portable codec and against the system's conversion.
#include <gtest/gtest.h>

#include "contract/TextWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

TEST(TextCodecContract, AsciiAndZeroUnitsPassUnchanged) {
    EXPECT_EQ(Codec().WideToAnsi(u"Ocean Waves 1.0 [~]"), "Ocean Waves 1.0 [~]");
    EXPECT_EQ(Codec().WideToAnsi(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Codec().WideToAnsi(u""), "");
}

TEST(TextCodecContract, WesternCodePage) {
    if (AnsiCodePage() != 1252)
        GTEST_SKIP() << "ANSI code page " << AnsiCodePage();
    EXPECT_EQ(Codec().WideToAnsi(u"Caf\u00e9 \u00c5ngstr\u00f6m \u20ac\u2122"), "Caf\xe9 \xc5ngstr\xf6m \x80\x99");
    // Characters the code page lacks become the default character.
    EXPECT_EQ(Codec().WideToAnsi(u"\u4e2d\u0416"), "??");
    // Unit by unit: a character beyond the basic plane gives one "?" per half.
    const std::u16string pair = {u'a', 0xD83D, 0xDE00, u'b'};
    EXPECT_EQ(Codec().WideToAnsi(pair), "a??b");
}

// The results of a search show file names in capitals by the system's rule,
// which, unlike the lists' ASCII rule, reaches the accented letters too.
TEST(TextCodecContract, FileNameUpperCaseAsciiAndLengthKept) {
    EXPECT_EQ(Codec().UpperFileName("ocean waves 1.0 [~]{|}`@_"), "OCEAN WAVES 1.0 [~]{|}`@_");
    EXPECT_EQ(Codec().UpperFileName(std::string("a\0b", 3)), std::string("A\0B", 3));
    EXPECT_EQ(Codec().UpperFileName(""), "");
    EXPECT_EQ(Codec().UpperFileName("FILE NOT FOUND!"), "FILE NOT FOUND!");
}

TEST(TextCodecContract, FileNameUpperCaseWesternLetters) {
    if (AnsiCodePage() != 1252)
        GTEST_SKIP() << "ANSI code page " << AnsiCodePage();
    // Accented small letters and the four whose capitals lie in 0x80..0x9F.
    EXPECT_EQ(Codec().UpperFileName("caf\xe9 \xe0\xef\xf1\xf6\xf8\xfe \x9a\x9c\x9e\xff"),
              "CAF\xc9 \xc0\xcf\xd1\xd6\xd8\xde \x8a\x8c\x8e\x9f");
    // The division sign, capitals and symbols stay.
    EXPECT_EQ(Codec().UpperFileName("\xf7\xc9\x80\xa9\xbf\xd7"), "\xf7\xc9\x80\xa9\xbf\xd7");
}

TEST(TextCodecContract, FileNameUpperCaseEveryWesternByte) {
    if (AnsiCodePage() != 1252)
        GTEST_SKIP() << "ANSI code page " << AnsiCodePage();
    // Byte by byte, each on its own, so that one difference names its byte.
    // On the host this holds by construction; under Wine it proves the portable
    // table against the system's.
    Windows1252Codec portable;
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Codec().UpperFileName(one), portable.UpperFileName(one)) << "byte 0x" << std::hex << b;
    }
}
