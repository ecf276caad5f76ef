// The user's UI languages as the display names rely on them: in the English
// (United States) locale of the test worlds, en-US comes first with the id that
// resource directories use for it, and no name comes twice (each is a folder of
// language files to look in once).
#include <gtest/gtest.h>

#include <set>

#include "contract/TextWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

TEST(UiLanguagesContract, EnglishFirstEachNameOnce) {
    const std::vector<UiLanguage> languages = Languages().Preferred();
    ASSERT_FALSE(languages.empty());
    EXPECT_EQ(languages.front(), (UiLanguage{0x0409, "en-US"}));
    std::set<std::string> names;
    for (const UiLanguage& language : languages) {
        EXPECT_TRUE(names.insert(language.name).second) << language.name;
        EXPECT_NE(language.id, 0) << language.name;
    }
}
