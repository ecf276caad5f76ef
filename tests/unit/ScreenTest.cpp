// The screen window of saver mode on fakes: load, pick, start, help text,
// the mouse rule, closing, and the Flash branch's layout and loop.
#include <gtest/gtest.h>

#include <set>

#include "common/HelpText.h"
#include "fakes/FakeScreenForm.h"
#include "saver/MoveSkip.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

struct ScreenFixture : ::testing::Test, FakeScreenForm {
    void SetUp() override {
        palFlash.bounds = {624, 248, 313, 249};
        flashHost.flash.bounds = {64, 32, 192, 192};
    }
};

// A 25-byte movie whose frame rectangle is 550 x 400.
std::string Movie550x400() {
    std::string m = "FWS\x06" + std::string(4, '\0');
    m += std::string("\x78\x00\x05\x5F\x00\x00\x0F\xA0\x00", 9);
    m += std::string(8, '\0');
    return m;
}

} // namespace

using ScreenStart = ScreenFixture;

TEST_F(ScreenStart, EmptyListKeepsTheHelpTextAndHidesNoFlashForOtherKinds) {
    Create();
    EXPECT_EQ(txtIntro.caption, HelpText());
    EXPECT_EQ(gMoveSkipCount, 5);
    EXPECT_FALSE(palFlash.visible); // list kind 0 hides the Flash panel
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(window.foregrounds, 1);
    EXPECT_EQ(flashHost.creations, 0); // no player needed for the screensaver list
}

TEST_F(ScreenStart, HelpTextIsTheTwentyTwoLines) {
    const std::string text = HelpText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
    EXPECT_NE(text.find("like \" C:\\WINDOWS\\SYSTEM\\ \", \r\nclick the [Search]"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n    DEL         Clear the selected file in the list"));
}

TEST_F(ScreenStart, StartsAnExistingSaverWithParameterS) {
    files.AddFile("C:\\Savers\\waves.scr");
    Lists({"C:\\Savers\\waves.scr"}, {});
    Create();
    EXPECT_EQ(txtIntro.caption, "");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0], (ShellCall{"open", "C:\\Savers\\waves.scr", "s"}));
    EXPECT_EQ(window.shows, 1); // shown first, so the started saver opens above it
    EXPECT_EQ(gMoveSkipCount, 5);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(loopTimer.Interval() == 2000); // no loop set-up for list kind 0
}

TEST_F(ScreenStart, OtherListKindReadsNothingButSetsUpTheLoop) {
    Ini("[Amount]\r\nTotal=1\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\n[RandomWhat]\r\nType=3\r\n");
    files.AddFile("C:\\a.scr");
    Create();
    EXPECT_EQ(txtIntro.caption, HelpText());
    EXPECT_TRUE(palFlash.visible);
    EXPECT_TRUE(flashHost.flash.loop);
    EXPECT_EQ(loopTimer.interval, 2000u);
    EXPECT_TRUE(loopTimer.enabled);
    EXPECT_TRUE(shell.calls.empty());
}

// A missing file and a folder are failed draws, in either list; after five the
// pick gives up however long the list, says so once before the window shows, and
// starts nothing.
TEST(RandomPick, NoExistingEntryWarnsOnceAfterFiveDrawsAndStartsNothing) {
    for (const int kind : {0, 1}) {
        SCOPED_TRACE(kind == 0 ? "screensaver list" : "Flash list");
        FakeScreenForm f;
        const std::string folder = kind == 0 ? "C:\\Savers\\folder.scr" : "D:\\Movies\\folder.swf";
        f.files.AddFolder(folder);
        const std::vector<std::string> entries{kind == 0 ? "C:\\gone.scr" : "D:\\gone.swf", folder, "C:\\x\\y.scr"};
        if (kind == 0)
            f.Lists(entries, {});
        else
            f.Lists({}, entries, "[RandomWhat]\r\nType=1\r\n");
        f.Create();
        EXPECT_EQ(f.files.existsChecks, 5);
        EXPECT_EQ(
            f.dialogs.boxes,
            (std::vector<Box>{{"Warning", "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly",
                               BoxIcon::Warning}}));
        EXPECT_EQ(f.window.shows, 0);
        EXPECT_TRUE(f.shell.calls.empty());
        EXPECT_EQ(f.flashHost.flash.movie, "");
        EXPECT_TRUE(f.players.calls.empty());
        EXPECT_EQ(f.txtIntro.caption, "");
        EXPECT_EQ(gMoveSkipCount, 5);
        f.screen.FormKeyDown();
        EXPECT_EQ(f.window.closes, 1);
    }
}

// One existing entry among eight: a pick ends with it after one to five draws,
// or fails after exactly five and leaves the last pick as it was.
TEST_F(ScreenStart, APickEndsAtTheExistingEntryOrFailsAfterFiveDraws) {
    std::vector<std::string> list;
    for (int i = 0; i < 8; ++i)
        list.push_back("C:\\s" + std::to_string(i) + ".scr");
    files.AddFile(list[3]);
    Lists(list, {});
    Create();
    int picked = 0, failed = 0;
    for (int ms = 0; ms < 1000; ++ms) {
        clock.now = {9, 30, ms / 100, ms};
        const std::string last = screen.PickedFile();
        const int before = files.existsChecks;
        const bool ok = screen.PickRandomFile();
        const int draws = files.existsChecks - before;
        if (ok) {
            ++picked;
            EXPECT_LE(draws, 5);
            EXPECT_EQ(screen.PickedFile(), list[3]);
        } else {
            ++failed;
            EXPECT_EQ(draws, 5);
            EXPECT_EQ(screen.PickedFile(), last);
        }
    }
    EXPECT_GT(picked, 0);
    EXPECT_GT(failed, 0);
}

TEST_F(ScreenStart, OneMissingEntryDoesNotFailThePickWithinOneClockTick) {
    // Reseeding per draw would repeat the same index five times; the pick must
    // find the existing entries although the clock does not move.
    std::vector<std::string> list;
    for (int i = 0; i < 4; ++i) {
        list.push_back("C:\\s" + std::to_string(i) + ".scr");
        if (i != 0)
            files.AddFile(list.back());
    }
    Lists(list, {});
    Create();
    int failures = 0;
    for (int ms = 0; ms < 1000; ++ms) {
        clock.now = {10, 0, 0, ms};
        if (!screen.PickRandomFile())
            ++failures;
    }
    EXPECT_LT(failures, 5); // (1/4)^5 per pick at most
}

TEST_F(ScreenStart, DrawsSpreadOverTheList) {
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i) {
        list.push_back("C:\\s" + std::to_string(i) + ".scr");
        files.AddFile(list.back());
    }
    Lists(list, {});
    Create();
    std::set<std::string> seen;
    for (int ms = 0; ms < 200; ++ms) {
        clock.now = {0, 0, ms / 10, ms};
        ASSERT_TRUE(screen.PickRandomFile());
        seen.insert(screen.PickedFile());
    }
    EXPECT_EQ(seen.size(), 10u);
}

// A saver the shell cannot be handed (a path past 260 characters without a short
// name) is a failed draw and the next draw goes on; five such warn as missing
// files do. With ChangeEvery, a start that brings no process back is one too.
TEST(RandomPick, ASaverThatCannotStartIsAFailedDraw) {
    const std::string deep = "C:\\" + std::string(300, 'x') + "\\deep.scr", ok = "C:\\ok.scr";
    for (const char* options : {"", "[Misc]\r\nChangeEvery=1\r\n"})
        for (const bool bothRefused : {false, true}) {
            SCOPED_TRACE(std::string(options) + (bothRefused ? "both refused" : "one refused"));
            std::size_t attempts = 0;
            for (int ms = 0; ms < 280; ms += 7) {
                FakeScreenForm f;
                f.clock.now = {12, 0, 0, ms};
                f.files.AddFile(deep), f.files.AddFile(ok);
                f.shell.refused = bothRefused ? std::set<std::string>{deep, ok} : std::set<std::string>{deep};
                f.Lists({deep, ok}, {}, options);
                f.Create();
                attempts += f.shell.calls.size();
                EXPECT_EQ(f.dialogs.boxes.size(), bothRefused ? 1u : 0u);
                EXPECT_EQ(f.shell.calls.size() == 5 || f.shell.calls.back().file == ok, true);
            }
            EXPECT_EQ(attempts == 200, bothRefused); // forty picks; some first drew the refused one
        }
}

using MouseRule = ScreenFixture;

TEST_F(MouseRule, SkipsFiveMovesThenRecordsThenNeedsThreePixelsOnBothAxes) {
    Create(); // empty list: skip count 5
    for (int i = 0; i < 5; ++i)
        screen.FormMouseMove(500 + i * 50, 500 + i * 50);
    EXPECT_EQ(window.closes, 0);
    screen.FormMouseMove(100, 100); // sixth move records
    screen.FormMouseMove(103, 102); // 3 right, 2 down: no
    screen.FormMouseMove(900, 100); // long horizontal: no
    screen.FormMouseMove(100, 700); // long vertical: no
    EXPECT_EQ(window.closes, 0);
    screen.FormMouseMove(103, 103);
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(window.cursorShows, 1);
}

TEST_F(MouseRule, SmallMovesAddUpAgainstTheFirstPosition) {
    Create();
    gMoveSkipCount = 0;
    screen.FormMouseMove(10, 10);
    screen.FormMouseMove(12, 12);
    screen.FormMouseMove(13, 12);
    EXPECT_EQ(window.closes, 0);
    screen.FormMouseMove(13, 13);
    EXPECT_EQ(window.closes, 1);
}

TEST_F(MouseRule, ClickOrKeyClosesAtOnceWithoutTheCursorCall) {
    Create();
    screen.FormMouseDown();
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(window.cursorShows, 0);
    EXPECT_EQ(gMoveSkipCount, 5); // the skip count does not matter for clicks
}

TEST_F(MouseRule, InputAfterClosingBeganIsIgnored) {
    files.AddFile("C:\\a.scr");
    Lists({"C:\\a.scr"}, {});
    Create();
    screen.FormKeyDown();
    screen.FormClose();
    screen.FormKeyDown();
    screen.FormMouseDown();
    gMoveSkipCount = 0;
    screen.FormMouseMove(0, 0);
    screen.FormMouseMove(50, 50);
    screen.loopTimerTimer();
    EXPECT_EQ(window.closes, 1);
    EXPECT_TRUE(screen.LoadedList().empty());
}

using FlashStart = ScreenFixture;

TEST_F(FlashStart, OwnSizeIsCentredWithTiesToEven) {
    files.AddFile("D:\\m.swf", Movie550x400());
    Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
    Create();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(palFlash.bounds, (Rect{237, 184, 550, 400}));
    EXPECT_EQ(flashHost.flash.bounds, (Rect{0, 0, 550, 400}));
    EXPECT_EQ(flashHost.flash.calls,
              (std::vector<std::string>{"Movie=D:\\m.swf", "Zoom=0", "Repaint", "Play", "Loop=1"}));
    EXPECT_TRUE(palFlash.visible);
    EXPECT_EQ(loopTimer.interval, 2000u);
}

// The strip is drawn at the screen's DPI (41 pixels at 120, 50 at 144); the movie,
// in the control or in a player, starts right under it.
TEST(FlashStretched, FillsBelowTheStripAsDrawn) {
    for (const int strip : {33, 41, 50}) {
        for (const bool control : {true, false}) {
            SCOPED_TRACE(testing::Message() << strip << (control ? " control" : " player"));
            FakeScreenForm form(kIni, strip);
            if (!control)
                form.flashHost.onCreate = [] { throw EOleSysError("Class not registered"); };
            form.files.AddFile("D:\\m.swf", Movie550x400());
            form.Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n"
                     "[Misc]\r\nFlashSize=0\r\n");
            form.Create();
            EXPECT_TRUE(form.dialogs.boxes.empty());
            const Rect below{0, strip, 1024, 768 - strip};
            if (control) {
                EXPECT_EQ(form.palFlash.bounds, below);
                EXPECT_EQ(form.flashHost.flash.bounds, (Rect{0, 0, 1024, 768 - strip}));
                EXPECT_EQ(form.flashHost.flash.scaleMode, 0);
            } else {
                EXPECT_EQ(form.players.calls,
                          (std::vector<std::string>{"Open D:\\m.swf", "Place 0," + std::to_string(strip) + ",1024," +
                                                                          std::to_string(768 - strip)}));
            }
        }
    }
}

TEST_F(FlashStart, UnreadableHeaderSkipsTheLoopSetUp) {
    files.AddFile("D:\\short.swf", std::string(24, 'F'));
    Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\short.swf\r\n[RandomWhat]\r\nType=1\r\n");
    Create();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0], (Box{"Lumivane", "Stream read error.", BoxIcon::Error}));
    EXPECT_EQ(flashHost.flash.movie, "D:\\short.swf");
    EXPECT_FALSE(flashHost.flash.loop);
    EXPECT_EQ(loopTimer.interval, 1000u);
    EXPECT_EQ(gMoveSkipCount, 1);
    screen.loopTimerTimer(); // the 1000 ms timer starts the loaded movie anyway
    EXPECT_TRUE(flashHost.flash.playing);
}

// Without the control the movie goes to the player that opens .swf files, shown
// above the window where the control would be; with neither, one warning says
// what to do and the black window closes on input.
TEST_F(FlashStart, WithoutTheControlThePlayerThenTheWarning) {
    flashHost.onCreate = [] { throw EOleSysError("Class not registered"); };
    files.AddFile("D:\\m.swf", Movie550x400());
    Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
    Create();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(players.calls, (std::vector<std::string>{"Open D:\\m.swf", "Place 237,184,550,400"}));
    EXPECT_EQ(window.shows, 1); // before the player starts: its window must open above ours
    EXPECT_FALSE(palFlash.visible);
    EXPECT_TRUE(screen.PlaysInPlayer());
    EXPECT_EQ(loopTimer.interval, 2000u);

    FakeScreenForm none;
    none.flashHost.onCreate = flashHost.onCreate;
    none.players.program.clear();
    none.files.AddFile("D:\\m.swf", Movie550x400());
    none.Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
    none.Create();
    EXPECT_EQ(none.dialogs.boxes, (std::vector<Box>{{"Warning", kNoPlayerWarning, BoxIcon::Warning}}));
    EXPECT_TRUE(none.players.calls.empty());
    EXPECT_FALSE(none.palFlash.visible); // the whole surface closes on input
    none.screen.loopTimerTimer();
    none.screen.FormKeyDown();
    EXPECT_EQ(none.window.closes, 1);
}

// A player that ends by itself is started again; closing asks it to close and ends
// its process only when it is still there after the grace period.
TEST_F(FlashStart, PlayerRestartsAndClosesWithTheWindow) {
    for (const bool stubborn : {false, true}) {
        SCOPED_TRACE(stubborn ? "stubborn" : "obliging");
        FakeScreenForm form;
        form.flashHost.onCreate = [] { throw EOleSysError("Class not registered"); };
        form.players.ignoresClose = stubborn;
        form.files.AddFile("D:\\m.swf", Movie550x400());
        form.Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
        form.Create();
        form.screen.loopTimerTimer(); // still running: nothing to do
        form.players.running = false;
        form.screen.loopTimerTimer();
        form.screen.FormKeyDown();
        form.screen.FormClose();
        form.screen.loopTimerTimer(); // after closing, never started again
        std::vector<std::string> expected{"Open D:\\m.swf", "Place 237,184,550,400", "Open D:\\m.swf",
                                          "Place 237,184,550,400", "AskToClose"};
        // An obliging player is gone after the first step of the wait.
        expected.push_back(stubborn ? "Wait 1500" : "Wait 50");
        if (stubborn)
            expected.push_back("Terminate");
        EXPECT_EQ(form.players.calls, expected);
        EXPECT_FALSE(form.players.running);
        EXPECT_EQ(form.window.closes, 1);
    }
}

TEST_F(FlashStart, LoopTimerRestartsAStoppedMovie) {
    files.AddFile("D:\\m.swf", Movie550x400());
    Ini("[Amount]\r\nFlashTotal=1\r\n[FlashList]\r\nFile0=D:\\m.swf\r\n[RandomWhat]\r\nType=1\r\n");
    Create();
    flashHost.flash.calls.clear();
    screen.loopTimerTimer();
    EXPECT_TRUE(flashHost.flash.calls.empty()); // still playing
    flashHost.flash.playing = false;
    screen.loopTimerTimer();
    EXPECT_EQ(flashHost.flash.calls, std::vector<std::string>{"Play"});
}

// The Video list: a video on every monitor over the black, nothing drawn over it,
// "Change every" moving both on, and closing stops and frees every player; with
// only files the engine cannot play, one warning and black monitors.
TEST(VideoSaver, EveryMonitorPlaysUntilTheWindowCloses) {
    FakeScreenForm f;
    std::string list;
    for (int i = 0; i < 3; ++i) {
        const std::string path = "D:\\Videos\\clip" + std::to_string(i) + ".mp4";
        f.files.AddFile(path, "video");
        f.videos.library.files[path] = {{1920, 1080}, 0x00FF00};
        list += "File" + std::to_string(i) + "=" + path + "\r\n";
    }
    f.Ini("[Amount]\r\nVideoTotal=3\r\n[VideoList]\r\n" + list + "[RandomWhat]\r\nType=2\r\n[Misc]\r\nChangeEvery=1\r\n");
    f.Create();
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.videos.primary.State(), VideoState::Playing);
    EXPECT_EQ(f.videos.second.State(), VideoState::Playing);
    EXPECT_EQ(f.videos.primary.PixelAt(512, 384), 0x00FF00u);
    EXPECT_EQ(f.videos.primary.PixelAt(512, 50), 0u); // the bar above a 16:9 video on 4:3
    EXPECT_EQ(f.txtIntro.caption, "");
    EXPECT_FALSE(f.strip.visible);
    EXPECT_FALSE(f.palFlash.visible);
    EXPECT_TRUE(f.changeTimer.enabled);
    EXPECT_EQ(f.changeTimer.interval, 60000u);

    f.screen.changeTimerTimer();
    EXPECT_EQ(f.videos.library.open.size(), 2u);
    f.screen.FormKeyDown();
    f.screen.FormClose();
    EXPECT_TRUE(f.videos.library.open.empty());
    EXPECT_EQ(f.videos.primary.State(), VideoState::Idle);
    EXPECT_EQ(f.videos.made, 1);
}

TEST(VideoSaver, OnlyVideosThatCannotPlayWarnOnceAndLeaveBlack) {
    FakeScreenForm f;
    f.files.AddFile("D:\\Videos\\cut.mp4", "truncated");
    f.videos.library.files["D:\\Videos\\cut.mp4"] = {{0, 0}, 0, false};
    f.Ini("[Amount]\r\nVideoTotal=2\r\n[VideoList]\r\nFile0=D:\\Videos\\cut.mp4\r\nFile1=D:\\Videos\\gone.mp4\r\n"
          "[RandomWhat]\r\nType=2\r\n");
    f.Create();
    for (int tick = 0; tick < 10; ++tick)
        f.screen.loopTimerTimer();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, kNotFoundWarning);
    EXPECT_EQ(f.videos.primary.PixelAt(512, 384), 0u);
    EXPECT_TRUE(f.videos.library.open.empty());
    f.screen.FormKeyDown();
    EXPECT_EQ(f.window.closes, 1);
}
