// The configuration window on fake widgets: opening, the three list tabs and
// their row invariant, selection, the right-button rule, switching tabs, the popup
// menu's enabling, Delete, Clear All, Reset, Config, Preview, the folder chooser,
// closing (what the file holds afterwards, and a close that cannot write), the
// video options of the popup, About.
#include <gtest/gtest.h>

#include "app/Program.h"
#include "common/HelpText.h"
#include "fakes/FakeMainWidgets.h"
#include "settings/fAbout.h"
#include "unit/PeImageBuilder.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const std::string kWaves = "D:\\Savers\\waves.scr";
const std::string kStars = "D:\\Savers\\stars.scr";
const std::string kGone = "D:\\Savers\\gone.scr";
const std::string kIntro = "D:\\Movies\\intro.swf";
const std::string kLoop = "D:\\Movies\\loop.swf";
const std::string kClip = "E:\\Videos\\Clip.mp4";
const std::string kGoneClip = "E:\\Videos\\gone.mkv";

struct MainFixture : ::testing::Test, FakeMainForm {
    using FakeMainForm::Run; // not the Run of ::testing::Test

    void SetUp() override {
        lsScreen.bounds = lsFlash.bounds = lsVideo.bounds = {0, 0, 209, 263};
        drives.drives = {{"C:\\", DriveType::Fixed}, {"D:\\", DriveType::Fixed}};
        files.AddFile(kWaves, SaverWithDescription(u"Ocean Waves"));
        files.AddFile(kStars, SaverWithDescription(u"Starfield \u00e9toil\u00e9"));
        files.AddFile(kIntro, "FWS");
        files.AddFile(kLoop, "FWS");
        files.AddFile(kClip, "video");
    }
    // As the native window does: the close goes on only when FormClose returns.
    bool Close() {
        bool mayClose = false;
        RunGuarded(dialogs, kConfigureTitle, [&] { mayClose = form.FormClose(); });
        return mayClose;
    }
    // A left click on row i: the list box selects it, then reports the selection.
    void Click(FakeListBox& box, int i) {
        box.SetItemIndex(i);
        Run(&box == &lsScreen  ? &TfrmMain::lsScreenClick
            : &box == &lsFlash ? &TfrmMain::lsFlashClick
                               : &TfrmMain::lsVideoClick);
    }
    void RightPress(FakeListBox& box, int y) {
        if (&box == &lsScreen)
            form.lsScreenMouseDown(MouseButton::Right, 20, y);
        else if (&box == &lsFlash)
            form.lsFlashMouseDown(MouseButton::Right, 20, y);
        else
            form.lsVideoMouseDown(MouseButton::Right, 20, y);
    }
    FakeListBox& BoxOfTab(int tab) { return tab == 0 ? lsScreen : tab == 1 ? lsFlash : lsVideo; }
    void SwitchTab(int index) {
        page.tabIndex = index;
        Run(&TfrmMain::pageChange);
    }
    std::vector<std::string> Warnings() {
        std::vector<std::string> texts;
        for (const Box& b : dialogs.boxes) {
            EXPECT_EQ(b.caption, "Warning");
            EXPECT_EQ(b.icon, BoxIcon::Warning);
            texts.push_back(b.text);
        }
        return texts;
    }
};

using MainOpen = MainFixture;
using MainRows = MainFixture;
using MainSelect = MainFixture;
using MainCommands = MainFixture;
using MainConfigPreview = MainFixture;
using MainClose = MainFixture;
using FolderChooser = MainFixture;
using MainVideo = MainFixture;

} // namespace

TEST_F(MainOpen, FirstStartWithoutAFile) {
    Open();
    EXPECT_TRUE(lsScreen.rows.empty());
    EXPECT_TRUE(lsFlash.rows.empty());
    EXPECT_EQ(page.tabIndex, 0);
    EXPECT_EQ(form.ListKind(), 0);
    EXPECT_TRUE(rbfOrigin.checked);
    EXPECT_FALSE(rbfFull.checked);
    EXPECT_TRUE(chkSub.checked);
    EXPECT_FALSE(mnuReset.enabled);
    EXPECT_TRUE(mnuViewName.checked);
    EXPECT_FALSE(mnuViewPath.checked);
    EXPECT_EQ(form.CurrentFile(), "");
    EXPECT_TRUE(profile.files.empty()); // reading writes nothing
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(MainOpen, StoredOptionsReachTheControls) {
    Lists({kWaves}, {kIntro}, "[RandomWhat]\r\nType=1\r\n[Misc]\r\nFlashSize=0\r\nSub=0\r\n");
    chkSub.checked = true;
    Open();
    EXPECT_EQ(page.tabIndex, 1);
    EXPECT_EQ(form.ListKind(), 1);
    EXPECT_FALSE(rbfOrigin.checked);
    EXPECT_TRUE(rbfFull.checked);
    EXPECT_FALSE(chkSub.checked);
}

TEST_F(MainRows, ByNameUpperCasesAsciiOnly) {
    files.AddFile("D:\\SAVERS\\CAPS.SCR", SaverWithDescription(u"ignored"));
    Lists({kWaves, kGone, kStars, "D:\\SAVERS\\CAPS.SCR"}, {kIntro, "D:\\Movies\\Caf\xc3\xa9.swf"});
    files.AddFile("D:\\Movies\\Caf\xc3\xa9.swf", "FWS");
    Open();
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{"OCEAN WAVES", "FILE NOT FOUND!",
                                                       "STARFIELD \xc3\xa9TOIL\xc3\xa9", "IGNORED"}));
    EXPECT_EQ(lsFlash.rows, (std::vector<std::string>{"INTRO.SWF", "CAF\xc3\xa9.SWF"}));
}

TEST_F(MainRows, ByPathAndBackKeepSelectionRulesAndHints) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    Click(lsScreen, 1);
    Run(&TfrmMain::mnuViewPathClick);
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{kWaves, kStars}));
    EXPECT_EQ(lsFlash.rows, (std::vector<std::string>{kIntro}));
    EXPECT_TRUE(mnuViewPath.checked);
    EXPECT_FALSE(mnuViewName.checked);
    EXPECT_EQ(lsScreen.itemIndex, -1); // a rebuild loses the selection...
    EXPECT_EQ(lsScreen.hint, kStars);  // ...but not the hint or the current file
    EXPECT_EQ(form.CurrentFile(), kStars);
    Run(&TfrmMain::mnuViewNameClick);
    EXPECT_EQ(lsScreen.rows[0], "OCEAN WAVES");
    EXPECT_TRUE(mnuViewName.checked);
    EXPECT_FALSE(mnuViewPath.checked);
}

TEST_F(MainRows, EmptyEntriesAreSkippedAndDuplicatesKept) {
    Ini("[Amount]\r\nTotal=4\r\n[ScreenList]\r\nFile0=" + kWaves + "\r\nFile1=\r\nFile2=" + kWaves +
        "\r\nFile3=" + kStars + "\r\n");
    Open();
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{kWaves, kWaves, kStars}));
    EXPECT_EQ(lsScreen.Count(), 3);
    Click(lsScreen, 2);
    EXPECT_EQ(form.CurrentFile(), kStars); // rows index the list directly
}

TEST_F(MainRows, LongListsAreNamedAPieceAtATimeTheActiveTabFirst) {
    // Each reading of the clock stands for 10 ms of naming: 20 rows at once, 4 a tick.
    clock.step = 10;
    std::vector<std::string> screens;
    for (int i = 0; i < 50; ++i)
        screens.push_back(i % 2 ? kStars : kWaves);
    Lists(screens, std::vector<std::string>(10, kIntro), "[RandomWhat]\r\nType=1\r\n");
    auto named = [&](const std::vector<std::string>& list, const std::string& stars) {
        std::vector<std::string> rows;
        for (const std::string& path : list)
            rows.push_back(path == kWaves ? "OCEAN WAVES" : path == kStars ? stars : "INTRO.SWF");
        return rows;
    };
    Open();
    EXPECT_EQ(lsFlash.rows, named(form.FlashList(), ""));
    EXPECT_EQ(lsScreen.rows.size(), 10u);
    int ticks = 0;
    for (; namingTimer.enabled && ticks < 100; ++ticks)
        Run(&TfrmMain::namingTimerTimer);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(lsScreen.rows, named(form.ScreenList(), "STARFIELD \xc3\xa9TOIL\xc3\xa9"));

    // A Delete names afresh without opening a file again, and a file gone since
    // shows so; a close before the end stores the whole list.
    const int opens = files.opens;
    files.Remove(kStars);
    SwitchTab(0);
    Click(lsScreen, 2);
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(lsScreen.rows.size(), 20u);
    EXPECT_TRUE(lsFlash.rows.empty());
    Run(&TfrmMain::namingTimerTimer);
    const std::vector<std::string> all = named(form.ScreenList(), "FILE NOT FOUND!");
    EXPECT_EQ(lsScreen.rows, std::vector<std::string>(all.begin(), all.begin() + 24));
    EXPECT_EQ(files.opens, opens);
    ASSERT_TRUE(Close());
    EXPECT_FALSE(namingTimer.enabled);
    EXPECT_EQ(Stored("Amount", "Total"), "49");
    EXPECT_EQ(Stored("ScreenList", "File2"), kStars);
}

TEST_F(MainSelect, ClickSetsCurrentFileAndHint) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    lsSearch.Add("X");
    lsSearch.itemIndex = 0;
    Click(lsScreen, 1);
    EXPECT_EQ(form.CurrentFile(), kStars);
    EXPECT_EQ(lsScreen.hint, kStars);
    EXPECT_EQ(lsSearch.itemIndex, -1);
    Click(lsFlash, 0); // the other tab's list: the last selection wins
    EXPECT_EQ(form.CurrentFile(), kIntro);
    EXPECT_EQ(lsFlash.hint, kIntro);
    EXPECT_EQ(lsScreen.hint, kStars);
}

TEST_F(MainSelect, RightButtonSelectsTheRowUnderThePointer) {
    Lists({kWaves, kStars}, {kIntro, kLoop});
    Open();
    Click(lsScreen, 0);
    lsSearch.Add("X");
    lsSearch.itemIndex = 0;
    RightPress(lsScreen, 13 + 5); // second row
    EXPECT_EQ(lsScreen.itemIndex, 1);
    EXPECT_EQ(form.CurrentFile(), kStars);
    EXPECT_EQ(lsScreen.hint, kWaves); // the hint stays on the last click
    EXPECT_EQ(lsSearch.itemIndex, -1);
    RightPress(lsFlash, 13 + 1);
    EXPECT_EQ(form.CurrentFile(), kLoop);
}

TEST_F(MainSelect, OtherButtonsAndPressesBelowTheRows) {
    Lists({kWaves, kStars}, {});
    Open();
    Click(lsScreen, 0);
    form.lsScreenMouseDown(MouseButton::Left, 20, 14);
    form.lsScreenMouseDown(MouseButton::Middle, 20, 14);
    EXPECT_EQ(lsScreen.itemIndex, 0);
    EXPECT_EQ(form.CurrentFile(), kWaves);
    // Below the last row: this list box then has no selection, so the current
    // file stays; the same on an empty list.
    RightPress(lsScreen, 200);
    EXPECT_EQ(lsScreen.itemIndex, -1);
    EXPECT_EQ(form.CurrentFile(), kWaves);
    RightPress(lsFlash, 0);
    EXPECT_EQ(form.CurrentFile(), kWaves);
}

TEST_F(MainSelect, SwitchingTabsClearsHintsAndSelectionsButNotTheCurrentFile) {
    Lists({kWaves}, {kIntro});
    Open();
    Click(lsFlash, 0);
    Click(lsScreen, 0);
    SwitchTab(1);
    EXPECT_EQ(form.ListKind(), 1);
    EXPECT_EQ(lsScreen.hint, "");
    EXPECT_EQ(lsFlash.hint, "");
    EXPECT_EQ(lsScreen.itemIndex, -1);
    EXPECT_EQ(form.CurrentFile(), kWaves);
    Run(&TfrmMain::btSetupClick); // "Config" still configures the screensaver
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{"config", kWaves, " \\c"}}));
}

TEST_F(MainCommands, PopupEnablingTable) {
    Ini("[Amount]\r\nTotal=1\r\nFlashTotal=1\r\nVideoTotal=1\r\n[ScreenList]\r\nFile0=" + kWaves +
        "\r\n[FlashList]\r\nFile0=" + kIntro + "\r\n[VideoList]\r\nFile0=" + kClip + "\r\n");
    Open();
    struct Step {
        int tab;
        bool select;
        bool setup, preview, del;
    } steps[] = {
        {0, false, false, false, false},                               // none selected on the screensaver tab
        {0, true, true, true, true},     {1, true, true, true, true},  // "Setup" keeps the last state: enabled
        {1, false, false, false, false}, {1, true, false, true, true}, // ...and now disabled
        {0, true, true, true, true},     {2, true, true, true, true},  // the Video tab as the Flash tab
        {2, false, false, false, false}, {2, true, false, true, true},
    };
    for (const Step& s : steps) {
        SwitchTab(s.tab);
        if (s.select)
            RightPress(BoxOfTab(s.tab), 3);
        Run(&TfrmMain::pmActivePopup);
        EXPECT_EQ(mnuSetup.enabled, s.setup) << s.tab << s.select;
        EXPECT_EQ(mnuPreview.enabled, s.preview) << s.tab << s.select;
        EXPECT_EQ(mnuDelete.enabled, s.del) << s.tab << s.select;
    }
    EXPECT_FALSE(mnuReset.enabled); // never touched here
    EXPECT_TRUE(mnuClear.enabled);
}

TEST_F(MainCommands, DeleteRemovesTheSelectedEntryOnly) {
    Lists({kWaves, kGone, kStars}, {kIntro});
    Open();
    Click(lsScreen, 1);
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{kWaves, kStars}));
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{"OCEAN WAVES", "STARFIELD \xc3\xa9TOIL\xc3\xa9"}));
    EXPECT_EQ(lsFlash.rows, (std::vector<std::string>{"INTRO.SWF"}));
    EXPECT_TRUE(mnuReset.enabled);
    EXPECT_EQ(form.CurrentFile(), kGone); // the current file keeps the removed path
    EXPECT_EQ(profile.writes, 0);
    // Without a selection nothing goes, but Reset still becomes available.
    mnuReset.enabled = false;
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(form.ScreenList().size(), 2u);
    EXPECT_TRUE(mnuReset.enabled);
}

TEST_F(MainCommands, DeleteLastAndOnlyRowsAndKeepTheViewMode) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    Run(&TfrmMain::mnuViewPathClick);
    Click(lsScreen, 1);
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{kWaves})); // still by path
    SwitchTab(1);
    Click(lsFlash, 0);
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_TRUE(form.FlashList().empty());
    EXPECT_TRUE(lsFlash.rows.empty());
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{kWaves}));
}

TEST_F(MainCommands, ClearAllEmptiesTheActiveListOnly) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    SwitchTab(1);
    Run(&TfrmMain::mnuClearClick);
    EXPECT_TRUE(form.FlashList().empty());
    EXPECT_TRUE(lsFlash.rows.empty());
    EXPECT_EQ(form.ScreenList().size(), 2u);
    EXPECT_EQ(lsScreen.Count(), 2);
    EXPECT_TRUE(mnuReset.enabled);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(profile.writes, 0);
}

TEST_F(MainCommands, ResetBringsBackTheStoredListsAndTab) {
    Lists({kWaves, kStars}, {kIntro}, "[RandomWhat]\r\nType=0\r\n");
    Open();
    Click(lsScreen, 0);
    Run(&TfrmMain::mnuClearClick);
    SwitchTab(1);
    Click(lsFlash, 0);
    Run(&TfrmMain::mnuDeleteClick);
    Run(&TfrmMain::mnuViewPathClick);
    rbfOrigin.checked = false;
    rbfFull.checked = true;
    Run(&TfrmMain::mnuResetClick);
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{kWaves, kStars}));
    EXPECT_EQ(form.FlashList(), (std::vector<std::string>{kIntro}));
    EXPECT_EQ(lsScreen.rows, (std::vector<std::string>{kWaves, kStars})); // the view mode stays
    EXPECT_EQ(page.tabIndex, 0);
    EXPECT_EQ(form.ListKind(), 0);
    EXPECT_TRUE(rbfOrigin.checked);
    EXPECT_FALSE(rbfFull.checked);
    EXPECT_FALSE(mnuReset.enabled);
    EXPECT_EQ(lsFlash.hint, kIntro); // no tab switch by the user: hints stay
    EXPECT_EQ(form.CurrentFile(), kIntro);
}

TEST_F(MainCommands, StoredTypeOutsideTheListsSelectsNoList) {
    Lists({kWaves}, {kIntro}, "[RandomWhat]\r\nType=3\r\n");
    Open();
    EXPECT_EQ(page.tabIndex, -1);
    EXPECT_EQ(form.ListKind(), 3);
    mnuSetup.enabled = mnuPreview.enabled = false;
    Run(&TfrmMain::pmActivePopup);
    EXPECT_FALSE(mnuSetup.enabled); // unchanged
    EXPECT_TRUE(mnuDelete.enabled);
    Click(lsScreen, 0);
    Run(&TfrmMain::mnuDeleteClick);
    Run(&TfrmMain::mnuClearClick);
    EXPECT_EQ(form.ScreenList().size(), 1u);
    EXPECT_EQ(form.FlashList().size(), 1u);
    EXPECT_TRUE(mnuReset.enabled);
    EXPECT_TRUE(Close());
    EXPECT_EQ(Stored("RandomWhat", "Type"), "-1");
}

TEST_F(MainConfigPreview, ConfigRules) {
    files.AddFile("D:\\Savers\\CAPS.SCR", SaverWithDescription(u"x"));
    Lists({kWaves, "D:\\Savers\\CAPS.SCR", kGone, "D:\\my.scr\\saver"}, {kIntro});
    Open();
    Run(&TfrmMain::btSetupClick);
    Click(lsFlash, 0);
    Run(&TfrmMain::btSetupClick);
    Click(lsScreen, 3);
    Run(&TfrmMain::btSetupClick);
    EXPECT_EQ(Warnings(), (std::vector<std::string>{"You must select a screensaver file to config.",
                                                    "Only screensaver can config.", "Only screensaver can config."}));
    EXPECT_TRUE(shell.calls.empty());
    Click(lsScreen, 2); // missing, but a ".scr": the shell is asked all the same
    Run(&TfrmMain::btSetupClick);
    Click(lsScreen, 0);
    Run(&TfrmMain::btSetupClick);
    Click(lsScreen, 1); // the extension in capitals is a screensaver's all the same
    Run(&TfrmMain::btSetupClick);
    EXPECT_EQ(shell.calls,
              (std::vector<ShellCall>{
                  {"config", kGone, " \\c"}, {"config", kWaves, " \\c"}, {"config", "D:\\Savers\\CAPS.SCR", " \\c"}}));
    EXPECT_EQ(dialogs.boxes.size(), 3u);
}

TEST_F(MainConfigPreview, PreviewRules) {
    Lists({kWaves, kGone}, {kIntro});
    Open();
    Run(&TfrmMain::lsScreenDblClick);
    Click(lsScreen, 1);
    Run(&TfrmMain::lsScreenDblClick);
    EXPECT_EQ(Warnings(), (std::vector<std::string>{"You have to select a file before you preview it.",
                                                    "This selected file does not exist!"}));
    Click(lsFlash, 0);
    Run(&TfrmMain::lsScreenDblClick);
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{"open", kIntro, ""}}));
}

TEST_F(MainConfigPreview, CommandsActOnADeletedEntrysPath) {
    Lists({kWaves, kStars}, {});
    Open();
    Click(lsScreen, 0);
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(lsScreen.itemIndex, -1);
    Run(&TfrmMain::btSetupClick);
    Run(&TfrmMain::lsScreenDblClick);
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{"config", kWaves, " \\c"}, {"open", kWaves, ""}}));
}

TEST_F(MainClose, FirstCloseWritesEverythingInOrder) {
    Open();
    form.btCloseClick();
    EXPECT_EQ(window.closes, 1);
    EXPECT_TRUE(Close());
    EXPECT_EQ(profile.files[kIni], "[Amount]\r\nTotal=0\r\nFlashTotal=0\r\n[RandomWhat]\r\nType=0\r\n"
                                   "[Misc]\r\nFlashSize=1\r\nSub=1\r\n");
    EXPECT_EQ(profile.writes, 1); // one write for lists and options
    EXPECT_TRUE(form.Released());
    EXPECT_TRUE(form.ScreenList().empty());
    EXPECT_TRUE(form.DriveList().empty());
}

TEST_F(MainClose, ClosingStoresListsTabAndOptionsAsTheyStand) {
    Lists({kWaves, kGone, kStars}, {kIntro});
    Open();
    Click(lsScreen, 1);
    Run(&TfrmMain::mnuDeleteClick);
    SwitchTab(1);
    rbfOrigin.checked = false;
    rbfFull.checked = true;
    chkSub.checked = false;
    EXPECT_TRUE(Close());
    EXPECT_EQ(Stored("Amount", "Total"), "2");
    EXPECT_EQ(Stored("ScreenList", "File0"), kWaves);
    EXPECT_EQ(Stored("ScreenList", "File1"), kStars);
    EXPECT_EQ(Stored("ScreenList", "File2"), kStars); // beyond the count, left as it was
    EXPECT_EQ(Stored("Amount", "FlashTotal"), "1");
    EXPECT_EQ(Stored("RandomWhat", "Type"), "1");
    EXPECT_EQ(Stored("Misc", "FlashSize"), "0");
    EXPECT_EQ(Stored("Misc", "Sub"), "0");
}

TEST_F(MainClose, ClearAllThenCloseStoresAnEmptyList) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    Run(&TfrmMain::mnuClearClick);
    EXPECT_TRUE(Close());
    EXPECT_EQ(Stored("Amount", "Total"), "0");
    EXPECT_EQ(Stored("Amount", "FlashTotal"), "1");
}

// An unwritable file, or a lock another window's hung close keeps: nothing is
// written unlocked, and the window stays open with nothing lost.
struct MainCloseFails : MainFixture, ::testing::WithParamInterface<bool FakeProfile::*> {};
INSTANTIATE_TEST_SUITE_P(WriteOrLock, MainCloseFails,
                         ::testing::Values(&FakeProfile::failWrites, &FakeProfile::failLocks));

TEST_P(MainCloseFails, TheWindowStaysOpenTheSecondAsksAndNoStays) {
    Lists({kWaves, kStars}, {kIntro});
    Open();
    Click(lsScreen, 0);
    Run(&TfrmMain::mnuDeleteClick);
    SwitchTab(1);
    const std::string before = profile.files[kIni];
    profile.*GetParam() = true;
    EXPECT_FALSE(Close());
    EXPECT_FALSE(form.Released());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0],
              (Box{"Lumivane Standard V1.5 Configuration", "Unable to write to " + kIni + ".", BoxIcon::Error}));
    EXPECT_EQ(form.ScreenList(), (std::vector<std::string>{kStars})); // nothing lost

    dialogs.answers = {false};
    EXPECT_FALSE(Close());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1],
              (Box{"Warning", "Unable to write to " + kIni + ".\r\n\r\nClose without saving?", BoxIcon::Warning}));
    EXPECT_FALSE(form.Released());
    EXPECT_EQ(profile.files[kIni], before);
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.unlockedWrites, 0);

    profile.*GetParam() = false;
    EXPECT_TRUE(Close());
    EXPECT_TRUE(form.Released());
    EXPECT_EQ(Stored("Amount", "Total"), "1");
    EXPECT_EQ(Stored("ScreenList", "File0"), kStars);
    EXPECT_EQ(Stored("RandomWhat", "Type"), "1");
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}

// A file held past the retries: the warning says so, and neither Save, a folder
// pick nor Close writes the window's empty lists over the stored ones; Reset
// reads again, and once it has read the file the window stores as usual.
TEST_F(MainClose, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    Lists({kWaves, kStars}, {kIntro});
    const std::string stored = profile.files[kIni];
    profile.unreadableReads = -1;
    Open();
    EXPECT_EQ(Warnings(), (std::vector<std::string>{"Unable to read " + kIni +
                                                    ".\r\nThe lists stored in it are not shown, and nothing is "
                                                    "written over them."}));
    EXPECT_TRUE(lsScreen.rows.empty());
    EXPECT_FALSE(form.FileRead());
    dlgFolder.answers = {"D:\\Savers"};
    cboxDriver.SetItemIndex(cboxDriver.Count() - 1);
    Run(&TfrmMain::cboxDriverSelect);
    Run(&TfrmMain::btSaveClick);
    EXPECT_TRUE(Close());
    EXPECT_EQ(profile.writes, 0);
    EXPECT_EQ(profile.files[kIni], stored);

    profile.unreadableReads = 0;
    Open();
    Run(&TfrmMain::mnuClearClick);
    profile.unreadableReads = -1;
    Run(&TfrmMain::mnuResetClick); // a failed Reset forgets what was read
    EXPECT_TRUE(Close());
    EXPECT_EQ(profile.files[kIni], stored);
    profile.unreadableReads = 0;
    Open();
    Run(&TfrmMain::mnuClearClick);
    EXPECT_TRUE(Close());
    EXPECT_EQ(Stored("Amount", "Total"), "0");
}

TEST_F(MainClose, AboutShowsTheBoxEachTime) {
    Open();
    Run(&TfrmMain::btAboutClick);
    Run(&TfrmMain::btAboutClick);
    EXPECT_EQ(frmAbout.shows, 2);
}

TEST_F(FolderChooser, DrivesRecentFoldersAndBrowseEntry) {
    drives.drives = {{"A:\\", DriveType::Removable}, {"D:\\", DriveType::Fixed},  {"E:\\", DriveType::Fixed},
                     {"F:\\", DriveType::CdRom},     {"G:\\", DriveType::Remote}, {"H:\\", DriveType::RamDisk}};
    Ini("[RecentFolder]\r\nFolderName4=E:\\Games\\\r\nFolderName2=D:\\Temp\\\r\n");
    Open();
    EXPECT_EQ(cboxDriver.items, (std::vector<std::string>{"D:\\", "E:\\", "All Drivers(D:\\,E:\\)", "E:\\Games\\",
                                                          "D:\\Temp\\", "[Select a folder...]"}));
    EXPECT_EQ(cboxDriver.itemIndex, 0);
    EXPECT_EQ(cboxDriver.hint, "D:\\");
    EXPECT_EQ(form.DriveList(), (std::vector<std::string>{"D:\\", "E:\\"}));
    EXPECT_EQ(form.AllDrivesEntry(), "All Drivers(D:\\,E:\\)");
}

TEST_F(FolderChooser, NoFixedDrive) {
    drives.drives = {{"A:\\", DriveType::Removable}};
    Open();
    EXPECT_EQ(cboxDriver.items, (std::vector<std::string>{"All Drivers()", "[Select a folder...]"}));
    EXPECT_EQ(cboxDriver.hint, "All Drivers()");
}

TEST_F(FolderChooser, BrowsingAddsTheFolderToComboAndSlots) {
    drives.drives = {{"D:\\", DriveType::Fixed}, {"E:\\", DriveType::Fixed}};
    Ini("[RecentFolder]\r\nFolderName4=E:\\Games\\\r\nFolderName2=D:\\Temp\\\r\n");
    Open();
    dlgFolder.answers = {"D:\\Windows\\System32", "D:\\"};
    cboxDriver.itemIndex = cboxDriver.Count() - 1;
    Run(&TfrmMain::cboxDriverSelect);
    EXPECT_EQ(cboxDriver.items,
              (std::vector<std::string>{"D:\\", "E:\\", "All Drivers(D:\\,E:\\)", "E:\\Games\\", "D:\\Temp\\",
                                        "D:\\Windows\\System32\\", "[Select a folder...]"}));
    EXPECT_EQ(cboxDriver.Text(), "D:\\Windows\\System32\\");
    EXPECT_EQ(cboxDriver.hint, "D:\\Windows\\System32\\");
    EXPECT_EQ(form.Recent(), (RecentFolders{"", "D:\\Temp\\", "", "E:\\Games\\", "D:\\Windows\\System32\\"}));
    EXPECT_EQ(Stored("RecentFolder", "FolderName0"), "");
    EXPECT_EQ(Stored("RecentFolder", "FolderName1"), "D:\\Temp\\");
    EXPECT_EQ(Stored("RecentFolder", "FolderName4"), "D:\\Windows\\System32\\");
    // A drive root comes back with its backslash and gets a second one.
    cboxDriver.itemIndex = cboxDriver.Count() - 1;
    Run(&TfrmMain::cboxDriverSelect);
    EXPECT_EQ(cboxDriver.Text(), "D:\\\\");
    EXPECT_EQ(cboxDriver.items.back(), "[Select a folder...]");
    EXPECT_EQ(form.Recent()[4], "D:\\\\");
}

TEST_F(FolderChooser, CancelAndRepicksOnlyChangeTheHint) {
    Open();
    const auto items = cboxDriver.items;
    cboxDriver.itemIndex = cboxDriver.Count() - 1;
    Run(&TfrmMain::cboxDriverSelect); // no scripted answer: Cancel
    EXPECT_EQ(dlgFolder.runs, 1);
    EXPECT_EQ(cboxDriver.hint, "[Select a folder...]");
    cboxDriver.itemIndex = 1;
    Run(&TfrmMain::cboxDriverSelect);
    EXPECT_EQ(cboxDriver.hint, "D:\\");
    EXPECT_EQ(dlgFolder.runs, 1);
    EXPECT_EQ(cboxDriver.items, items);
    EXPECT_EQ(profile.writes, 0);
}

TEST_F(FolderChooser, ResetLeavesTheComboAlone) {
    Open();
    dlgFolder.answers = {"C:\\A"};
    cboxDriver.itemIndex = cboxDriver.Count() - 1;
    Run(&TfrmMain::cboxDriverSelect);
    const auto items = cboxDriver.items;
    Run(&TfrmMain::mnuResetClick);
    EXPECT_EQ(cboxDriver.items, items);
    EXPECT_EQ(form.Recent()[4], "C:\\A\\"); // re-read from the file
}

// Type=2 opens the Video tab, whose list follows the Flash list's rules; the
// popup's video options show what the file holds and are stored at the close.
TEST_F(MainVideo, TypeTwoOpensTheVideoTabAndThePopupKeepsTheVideoOptions) {
    Ini("[Amount]\r\nTotal=1\r\nVideoTotal=2\r\n[ScreenList]\r\nFile0=" + kWaves + "\r\n[VideoList]\r\nFile0=" + kClip +
        "\r\nFile1=" + kGoneClip + "\r\n[RandomWhat]\r\nType=2\r\n[Misc]\r\nVideoSound=1\r\nVideoMonitors=2\r\n");
    Open();
    EXPECT_EQ(page.tabIndex, 2);
    EXPECT_EQ(lsVideo.rows, (std::vector<std::string>{"CLIP.MP4", "FILE NOT FOUND!"}));
    Click(lsVideo, 0);
    Run(&TfrmMain::lsScreenDblClick);
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{"open", kClip, ""}}));
    Run(&TfrmMain::mnuDeleteClick);
    EXPECT_EQ(form.VideoList(), std::vector<std::string>{kGoneClip});
    EXPECT_EQ(form.ScreenList().size(), 1u);

    EXPECT_TRUE(mnuVideoSound.checked);
    EXPECT_TRUE(mnuMonitors[2].checked);
    Run(&TfrmMain::mnuVideoSoundClick);
    form.mnuMonitorsClick(3);
    EXPECT_FALSE(mnuVideoSound.checked);
    EXPECT_EQ((std::vector<bool>{mnuMonitors[0].checked, mnuMonitors[1].checked, mnuMonitors[2].checked,
                                 mnuMonitors[3].checked}),
              (std::vector<bool>{false, false, false, true}));
    ASSERT_TRUE(Close());
    EXPECT_EQ(Stored("RandomWhat", "Type"), "2");
    EXPECT_EQ(Stored("VideoList", "File0"), kGoneClip);
    EXPECT_EQ(Stored("Misc", "VideoSound"), "0");
    EXPECT_EQ(Stored("Misc", "VideoMonitors"), "3");
}

TEST(AboutBox, MemoDiffersFromTheHelpTextInItsTwoSlips) {
    const auto lines = TfrmAbout::MemoLines();
    ASSERT_EQ(lines.size(), kHelpLines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 4 && i != 17) {
            EXPECT_EQ(lines[i], kHelpLines[i]) << i;
        }
    }
    EXPECT_EQ(lines[4], "click the [Search] utton , check the file you want to add , then click [Add] button.");
    EXPECT_EQ(lines[17], "When you select a file in the listview, you can use some shortcuts    ");
}
