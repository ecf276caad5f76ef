// Key presses on the focused screensaver list, on fakes: the four chords the
// popup menu and the help text show run their items, and the same keys with a
// modifier more or less leave the list and the shell alone.
#include <gtest/gtest.h>

#include <optional>

#include "fakes/FakeMainWidgets.h"
#include "settings/PopupShortcuts.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const std::string kWaves = "D:\\Savers\\waves.scr";
const std::string kStars = "D:\\Savers\\stars.scr";

// A key that reaches the list, as the configuration window handles it: the
// popup's enabling rule runs, then the chord's item unless it is disabled.
void Press(FakeMainForm& f, const KeyChord& chord) {
    struct Item {
        FakeMenuItem& menu;
        void (TfrmMain::*click)();
    };
    auto item = [&]() -> std::optional<Item> {
        switch (PopupShortcut(chord)) {
        case PopupCommand::Setup:
            return Item{f.mnuSetup, &TfrmMain::btSetupClick};
        case PopupCommand::Preview:
            return Item{f.mnuPreview, &TfrmMain::lsScreenDblClick};
        case PopupCommand::Delete:
            return Item{f.mnuDelete, &TfrmMain::mnuDeleteClick};
        case PopupCommand::ClearAll:
            return Item{f.mnuClear, &TfrmMain::mnuClearClick};
        case PopupCommand::None:
            break;
        }
        return std::nullopt;
    }();
    if (!item)
        return;
    f.Run(&TfrmMain::pmActivePopup);
    if (item->menu.enabled)
        f.Run(item->click);
}

} // namespace

TEST(PopupShortcuts, TheShownChordsRunTheirItemsAndNoOtherModifiersDo) {
    const std::vector<std::string> both{kWaves, kStars};
    const KeyChord ctrlS{'S', true}, ctrlV{'V', true}, del{kKeyDelete}, ctrlA{'A', true};
    const struct {
        const char* keys;
        KeyChord chord;
        std::vector<std::string> listAfter;
        std::vector<ShellCall> shell;
    } cases[] = {
        {"Ctrl+S", ctrlS, both, {{"config", kWaves, " \\c"}}},
        {"Ctrl+V", ctrlV, both, {{"open", kWaves, ""}}},
        {"Del", del, {kStars}, {}},
        {"Ctrl+A", ctrlA, {}, {}},
        // A slip of a finger must not empty or shorten the list.
        {"Shift+Del", {kKeyDelete, false, true}, both, {}},
        {"Ctrl+Del", {kKeyDelete, true}, both, {}},
        {"Alt+Del", {kKeyDelete, false, false, true}, both, {}},
        {"Ctrl+Shift+A", {'A', true, true}, both, {}},
        {"AltGr+A (Ctrl+Alt)", {'A', true, false, true}, both, {}},
        {"A", {'A'}, both, {}},
        {"Ctrl+Shift+S", {'S', true, true}, both, {}},
        {"S", {'S'}, both, {}},
        {"Ctrl+Shift+V", {'V', true, true}, both, {}},
        {"Ctrl+C", {'C', true}, both, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        FakeMainForm f;
        f.files.AddFile(kWaves);
        f.files.AddFile(kStars);
        f.Lists(both, {});
        f.Open();
        f.lsScreen.SetItemIndex(0);
        f.Run(&TfrmMain::lsScreenClick);
        Press(f, c.chord);
        EXPECT_EQ(f.form.ScreenList(), c.listAfter);
        EXPECT_EQ(f.shell.calls, c.shell);
        EXPECT_TRUE(f.dialogs.boxes.empty());
    }
}
