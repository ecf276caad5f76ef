// The popup menus' shortcuts match their modifiers exactly.
#include <gtest/gtest.h>

#include "settings/PopupShortcuts.h"

using namespace lumivane;

namespace {

TEST(PopupShortcuts, ExactModifiersOnly) {
    struct Case {
        KeyChord chord;
        PopupCommand expected;
    };
    const Case cases[] = {
        {{'S', true, false, false}, PopupCommand::Setup},
        {{'V', true, false, false}, PopupCommand::Preview},
        {{kKeyDelete, false, false, false}, PopupCommand::Delete},
        {{'A', true, false, false}, PopupCommand::ClearAll},
        // An extra or a missing modifier makes another key: nothing runs.
        {{kKeyDelete, false, true, false}, PopupCommand::None},
        {{kKeyDelete, true, false, false}, PopupCommand::None},
        {{'A', true, true, false}, PopupCommand::None},
        {{'A', true, false, true}, PopupCommand::None}, // AltGr on many keyboards
        {{'V', true, true, false}, PopupCommand::None},
        {{'A', false, false, false}, PopupCommand::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PopupShortcut(c.chord), c.expected)
            << c.chord.key << " ctrl " << c.chord.ctrl << " shift " << c.chord.shift << " alt " << c.chord.alt;
}

} // namespace
