// The one integer conversion of the preview handle and the configuration file.
#include <gtest/gtest.h>

#include "common/ErrorText.h"
#include "common/IntegerText.h"

using namespace lumivane;

TEST(IntegerText, AcceptedForms) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", 0},           {"3", 3},           {"   3", 3},         {"+3", 3},
        {"-1", -1},         {"007", 7},         {"$3", 3},           {"x3", 3},
        {"X3", 3},          {"0x3", 3},         {"0X3", 3},          {"$b44", 2884},
        {"0XB44", 2884},    {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},  {"0x80000000", INT32_MIN},  {"$00000000000001", 1},
    };
    for (const auto& c : cases) {
        auto v = TryStrToInt(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
}

TEST(IntegerText, RejectedForms) {
    for (const char* text : {"", " ", "3a", "abc", "3 ", "\t3", "2147483648", "-2147483649", "$", "0x", "x",
                             "$100000000", "+-3", "- 3", "$-1", "0x+1", "1e3", "３"}) {
        EXPECT_FALSE(TryStrToInt(text).has_value()) << '"' << text << '"';
    }
    EXPECT_EQ(StrToIntDef("false", 1), 1);
    EXPECT_THROW(StrToInt("2884X"), EConvertError);
}

TEST(ErrorText, PeriodRule) {
    EXPECT_EQ(WithPeriod("Unable to write to C:\\x\\Lumivane.ini"), "Unable to write to C:\\x\\Lumivane.ini.");
    EXPECT_EQ(WithPeriod("Stream read error"), "Stream read error.");
    EXPECT_EQ(WithPeriod("done."), "done.");
    EXPECT_EQ(WithPeriod("done!"), "done!"); // '!' sorts below '.'
    EXPECT_EQ(WithPeriod("file -"), "file -");
    EXPECT_EQ(WithPeriod("caf\xe9"), "caf\xe9."); // bytes above 127 sort above '.'
    EXPECT_EQ(WithPeriod(""), "");
}

TEST(IntegerText, HexDigitsPadsAsPrintfDoes) {
    EXPECT_EQ(HexDigits(0x80004005u, 8), "80004005");
    EXPECT_EQ(HexDigits(0x1Fu, 8), "0000001F");
    EXPECT_EQ(HexDigits(0x140001530u, 16), "0000000140001530");
    EXPECT_EQ(HexDigits(0x123456789u, 8), "123456789"); // never cut
}
