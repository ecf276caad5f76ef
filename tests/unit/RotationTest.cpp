// The no-repeat rotation: which entries a pick may choose from as a round goes
// on, loses and gains entries and starts over; its keeping in the round file
// and the options in "Lumivane.ini"; and three saver runs in a row.
#include <gtest/gtest.h>

#include <set>

#include "fakes/FakeMainWidgets.h"
#include "fakes/FakeScreenForm.h"
#include "saver/Rotation.h"

using namespace lumivane;
using namespace lumivane::test;

TEST(Rotation, CandidatesAsTheRoundGoesOn) {
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        V existing;
        V played;
        std::string last;
        V candidates;
        V playedAfter;
    };
    const Case cases[] = {
        {"a fresh round: all", {"a", "b", "c"}, {}, "", {"a", "b", "c"}, {}},
        {"the unplayed ones", {"a", "b", "c"}, {"b"}, "b", {"a", "c"}, {"b"}},
        {"a removed entry drops out", {"a", "c"}, {"b", "c"}, "c", {"a"}, {"c"}},
        {"an added entry joins", {"a", "b", "d"}, {"a", "b"}, "b", {"d"}, {"a", "b"}},
        {"all played: a new round without the last", {"a", "b", "c"}, {"c", "a", "b"}, "b", {"a", "c"}, {}},
        {"one entry plays again", {"a"}, {"a"}, "a", {"a"}, {}},
        {"one entry listed twice plays again", {"a", "a"}, {"a"}, "a", {"a", "a"}, {}},
        {"nothing exists", {}, {"a"}, "a", {}, {}},
    };
    for (const Case& c : cases) {
        PlayedRound round{c.played, c.last};
        EXPECT_EQ(RoundCandidates(c.existing, round), c.candidates) << c.what;
        EXPECT_EQ(round.played, c.playedAfter) << c.what;
    }
}

TEST(Rotation, TheRoundAndTheOptionsAreKeptOnlyWhereTheyBelong) {
    FakeIniFile ini;
    FakeClock clock;
    TConfigFile round(ini.profile, RoundPathFor(ini.iniPath), clock);
    EXPECT_EQ(round.Path(), "C:\\Lumivane\\LumivaneRound.ini");
    SaveRound(round, 1, {{"D:\\m.swf", "D:\\n.swf"}, "D:\\n.swf"});
    const PlayedRound back = LoadRound(round, 1);
    EXPECT_EQ(back.played, (std::vector<std::string>{"D:\\m.swf", "D:\\n.swf"}));
    EXPECT_EQ(back.last, "D:\\n.swf");
    EXPECT_TRUE(LoadRound(round, 0).played.empty());
    EXPECT_FALSE(ini.profile.files.contains(ini.iniPath)); // the user's file is not touched

    // Off and never set: nothing is written; once set, turning off writes it.
    TConfigFile file(ini.profile, ini.iniPath, clock);
    SaveOptions(file, {});
    EXPECT_EQ(ini.Stored("Misc", "NoRepeat"), "<missing>");
    SaveOptions(file, {.variety = {true, 5}});
    SaveOptions(file, {.variety = {false, 0}});
    EXPECT_EQ(ini.Stored("Misc", "NoRepeat"), "0");
    EXPECT_EQ(ini.Stored("Misc", "ChangeEvery"), "0");
    ini.Ini("[Misc]\r\nNoRepeat=1\r\nChangeEvery=2147483647\r\n");
    EXPECT_EQ(LoadActiveList(file).value().variety, (VarietyOptions{true, kLongestChangeEvery}));
}

TEST(Rotation, ThreeRunsStartThreeDifferentSaversThenANewRound) {
    const std::vector<std::string> savers = {"C:\\S\\a.scr", "C:\\S\\b.scr", "C:\\S\\c.scr"};
    std::map<std::string, std::string> files; // the profile's files, carried from run to run
    std::vector<std::string> started;
    for (int run = 0; run < 4; ++run) {
        FakeScreenForm saver;
        for (const std::string& path : savers)
            saver.files.AddFile(path);
        saver.profile.files = files;
        saver.Lists(savers, {}, "[Misc]\r\nNoRepeat=1\r\n");
        saver.clock.now = {0, 0, 0, 7}; // the same clock every run: only the round keeps them apart
        saver.Create();
        ASSERT_EQ(saver.shell.calls.size(), 1u);
        started.push_back(saver.shell.calls[0].file);
        files = saver.profile.files;
    }
    EXPECT_EQ(std::set<std::string>(started.begin(), started.begin() + 3).size(), 3u);
    EXPECT_NE(started[3], started[2]);
}

TEST(Rotation, TheConfigurationWindowShowsAndStoresBothOptions) {
    FakeMainForm window;
    window.Open("[Misc]\r\nNoRepeat=1\r\nChangeEvery=5\r\n");
    EXPECT_TRUE(window.mnuNoRepeat.checked);
    EXPECT_TRUE(window.mnuChangeEvery[3].checked); // 5 minutes
    window.form.mnuNoRepeatClick();
    window.form.mnuChangeEveryClick(1);
    EXPECT_FALSE(window.mnuNoRepeat.checked);
    EXPECT_TRUE(window.mnuChangeEvery[1].checked);
    EXPECT_FALSE(window.mnuChangeEvery[3].checked);
    window.Run(&TfrmMain::btCloseClick);
    EXPECT_TRUE(window.form.FormClose());
    EXPECT_EQ(window.Stored("Misc", "NoRepeat"), "0");
    EXPECT_EQ(window.Stored("Misc", "ChangeEvery"), "1");
}

TEST(ChangeEvery, EachTurnEndsWhatPlaysAndStartsAnotherUntilASaverEndsByItself) {
    FakeScreenForm saver;
    const std::vector<std::string> savers = {"C:\\S\\a.scr", "C:\\S\\b.scr", "C:\\S\\c.scr"};
    for (const std::string& path : savers)
        saver.files.AddFile(path);
    saver.Lists(savers, {}, "[Misc]\r\nChangeEvery=2\r\n");
    saver.Create();
    ASSERT_EQ(saver.shell.started.size(), 1u);
    EXPECT_TRUE(saver.changeTimer.Enabled());
    EXPECT_EQ(saver.changeTimer.Interval(), 120000u);

    saver.screen.changeTimerTimer();
    ASSERT_EQ(saver.shell.started.size(), 2u);
    EXPECT_EQ(saver.shell.started[0]->calls, std::vector<std::string>{"AskToClose"});
    EXPECT_NE(saver.shell.started[1]->file, saver.shell.started[0]->file);
    EXPECT_EQ(saver.shell.calls[1], (ShellCall{"open", saver.shell.started[1]->file, "s"}));

    saver.shell.started[1]->running = false; // the user came back and it closed itself
    saver.screen.changeTimerTimer();
    EXPECT_EQ(saver.shell.started.size(), 2u);
    EXPECT_FALSE(saver.changeTimer.Enabled());

    // Closing ends a saver that still runs; a plain start (no ChangeEvery) is left alone.
    FakeScreenForm closing;
    closing.files.AddFile(savers[0]);
    closing.Lists({savers[0]}, {}, "[Misc]\r\nChangeEvery=1\r\n");
    closing.Create();
    closing.screen.FormKeyDown();
    closing.screen.FormClose();
    EXPECT_EQ(closing.shell.started[0]->calls, std::vector<std::string>{"AskToClose"});
}

TEST(ChangeEvery, TheControlLoadsTheNextMovie) {
    FakeScreenForm saver;
    saver.files.AddFile("D:\\m.swf");
    saver.files.AddFile("D:\\n.swf");
    saver.Lists({}, {"D:\\m.swf", "D:\\n.swf"}, "[RandomWhat]\r\nType=1\r\n[Misc]\r\nFlashSize=0\r\nChangeEvery=5\r\n");
    saver.Create();
    const std::string first = saver.flashHost.flash.movie;
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(saver.changeTimer.Enabled());
    saver.screen.changeTimerTimer();
    EXPECT_NE(saver.flashHost.flash.movie, first);
    EXPECT_TRUE(saver.flashHost.flash.playing);
}

// The hooks apply the input rules inside the waits for a player: a key while the
// old player takes its time to close ends it at once and starts nothing; a key
// before the next player shows its window stops that wait, and closing ends it.
TEST(ChangeEvery, AKeyDuringTheChangeStopsItsWaits) {
    for (const bool whileEnding : {true, false}) {
        FakeScreenForm saver;
        saver.flashHost.onCreate = [] { throw EOleSysError("Class not registered"); };
        saver.files.AddFile("D:\\m.swf"), saver.files.AddFile("D:\\n.swf");
        saver.Lists({}, {"D:\\m.swf", "D:\\n.swf"},
                    "[RandomWhat]\r\nType=1\r\n[Misc]\r\nFlashSize=0\r\nChangeEvery=1\r\n");
        saver.Create();
        const std::string next = saver.screen.PickedFile() == "D:\\m.swf" ? "D:\\n.swf" : "D:\\m.swf";
        saver.players.calls.clear();
        saver.players.ignoresClose = whileEnding;
        saver.players.showsWindow = false;
        int steps = 0;
        saver.players.duringWait = [&] { ++steps == 3 ? saver.screen.FormKeyDown() : void(); };
        saver.screen.changeTimerTimer();
        using Calls = std::vector<std::string>;
        const Calls changed = whileEnding ? Calls{"AskToClose", "Wait 150", "Terminate"}
                                          : Calls{"AskToClose", "Wait 50", "Open " + next, "Wait 100"};
        EXPECT_EQ(saver.players.calls, changed);
        saver.screen.FormClose();
        EXPECT_FALSE(saver.players.running);
        EXPECT_EQ(saver.window.closes, 1);
    }
}
