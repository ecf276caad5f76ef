// The user's UI languages as the display names rely on them: in the English
// (United States) locale of the test worlds, en-US first, with the id resource
// directories use for it.
#include <gtest/gtest.h>

#include "contract/TextWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

TEST(UiLanguagesContract, EnglishFirst) {
    const std::vector<UiLanguage> languages = Languages().Preferred();
    ASSERT_FALSE(languages.empty());
    EXPECT_EQ(languages.front(), (UiLanguage{0x0409, "en-US"}));
}
