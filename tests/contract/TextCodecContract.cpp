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
