// UTF-8 and UTF-16: names in any script round-trip, a lone surrogate of a file
// name survives, broken UTF-8 becomes U+FFFD, and cuts by UTF-16 units fall
// between characters.
#include <gtest/gtest.h>

#include "common/Utf.h"

using namespace lumivane;

TEST(Utf, NamesInAnyScriptRoundTrip) {
    const std::u16string lone = {u'a', 0xD800, u'b', 0xDC00};
    for (const std::u16string& text :
         {std::u16string(u"Ocean Waves"), std::u16string(u"\u041f\u0440\u0438\u0432\u0435\u0442.scr"),
          std::u16string(u"\u65e5\u672c.scr"), std::u16string(u"\U0001F600 \u00e9"), lone,
          std::u16string(u"a\0b", 3)}) {
        EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
        EXPECT_EQ(Utf16Length(Utf16ToUtf8(text)), text.size());
    }
    EXPECT_EQ(Utf16ToUtf8(u"\u65e5\u672c"), "\xe6\x97\xa5\xe6\x9c\xac");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xf0\x9f\x98\x80");
}

TEST(Utf, BrokenUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xff"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xe6\x97"), u"\uFFFD\uFFFD");                     // cut short
    EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\uFFFD\uFFFD");                     // overlong "/"
    EXPECT_EQ(Utf8ToUtf16("\xf4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // beyond U+10FFFF
}

TEST(Utf, PrefixesByUnitsEndBetweenCharacters) {
    const std::string text = "a\xd0\x96\xf0\x9f\x98\x80z"; // a, Zhe, an emoji (two units), z
    EXPECT_EQ(Utf16Prefix(text, 0), "");
    EXPECT_EQ(Utf16Prefix(text, 2), "a\xd0\x96");
    EXPECT_EQ(Utf16Prefix(text, 3), "a\xd0\x96"); // half an emoji is not taken
    EXPECT_EQ(Utf16Prefix(text, 4), "a\xd0\x96\xf0\x9f\x98\x80");
    EXPECT_EQ(Utf16Prefix(text, 9), text);
}
