// The videos on two monitors (a 4:3 primary and a 5:4 one to its right): where
// each mode shows what, failed draws drawn again up to five a monitor, the warning
// once when none plays, "Change every" moving every monitor on, and the sound.
#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeVideoPlayer.h"
#include "saver/VideoWall.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const Rect kPrimary{0, 0, 1024, 768}, kSecond{1024, 0, 1280, 1024};

struct Wall {
    FakeVideoLibrary library;
    FakeFileSystem files;
    FakeVideoPlayer first{library}, second{library};
    std::vector<std::string> played;
    std::size_t next = 0;
    std::vector<std::string> entries;

    void Add(const std::string& path, FakeVideo video = {{1920, 1080}, 0xFF0000}) {
        files.AddFile(path, "x");
        library.files[path] = video;
        entries.push_back(path);
    }
    VideoWall Make(VideoMonitors mode, bool sound = false) {
        return VideoWall({{&first, kPrimary}, {&second, kSecond}}, VideoOptions{sound, mode}, files,
                         [this](std::size_t n) { return next++ % n; },
                         [this](const std::string& path) { played.push_back(path); });
    }
};

bool Plays(FakeVideoPlayer& player) {
    return player.State() == VideoState::Playing;
}

} // namespace

TEST(VideoWall, EachModeShowsItsPicksFittedToItsArea) {
    const struct {
        VideoMonitors mode;
        bool samePick, secondPlays;
        Rect first, second;
    } cases[] = {
        {VideoMonitors::EachItsOwn, false, true, {0, 96, 1024, 576}, {0, 152, 1280, 720}},
        {VideoMonitors::SameOnAll, true, true, {0, 96, 1024, 576}, {0, 152, 1280, 720}},
        // Fitted to the 2304 x 1024 around both: 1820 x 1024 from x 242, each
        // monitor showing its part of it.
        {VideoMonitors::OneAcrossAll, true, true, {242, 0, 1820, 1024}, {-782, 0, 1820, 1024}},
        {VideoMonitors::MainOnly, false, false, {0, 96, 1024, 576}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        Wall w;
        w.Add("D:\\v\\a.mp4");
        w.Add("D:\\v\\b.mkv");
        VideoWall wall = w.Make(c.mode);
        wall.Start(w.entries);
        EXPECT_FALSE(wall.Tick());
        EXPECT_TRUE(Plays(w.first));
        EXPECT_EQ(Plays(w.second), c.secondPlays);
        EXPECT_EQ(w.first.Place(), c.first);
        if (c.secondPlays) {
            EXPECT_EQ(w.second.Place(), c.second);
        }
        EXPECT_EQ(w.played.size(), c.samePick || !c.secondPlays ? 1u : 2u);
        if (w.played.size() == 2) {
            EXPECT_NE(w.played[0], w.played[1]); // the list has enough for both
        }
        EXPECT_TRUE(w.first.Loops() && w.second.Loops());
        wall.Stop();
        EXPECT_TRUE(w.library.open.empty());
    }
}

TEST(VideoWall, AnEntryThatCannotPlayIsDrawnAgainAndNoneWarnsOnce) {
    Wall w;
    w.files.AddFile("D:\\v\\text.mp4", "not a video");
    w.library.files["D:\\v\\text.mp4"] = {{0, 0}, 0, false};
    w.entries = {"D:\\v\\gone.mp4", "D:\\v\\text.mp4"};
    w.Add("D:\\v\\good.mp4");
    VideoWall wall = w.Make(VideoMonitors::MainOnly);
    wall.Start(w.entries);
    for (int tick = 0; tick < 3 && !Plays(w.first); ++tick)
        EXPECT_FALSE(wall.Tick());
    EXPECT_TRUE(Plays(w.first));
    EXPECT_EQ(w.played, std::vector<std::string>{"D:\\v\\good.mp4"});

    // Only bad entries: five draws a monitor, then black and one warning.
    Wall bad;
    bad.files.AddFile("D:\\v\\text.mp4", "not a video");
    bad.library.files["D:\\v\\text.mp4"] = {{0, 0}, 0, false};
    bad.entries = {"D:\\v\\gone.mp4", "D:\\v\\text.mp4"};
    VideoWall none = bad.Make(VideoMonitors::EachItsOwn);
    none.Start(bad.entries);
    int warnings = 0;
    for (int tick = 0; tick < 20; ++tick)
        warnings += none.Tick();
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(bad.next, 2u * kVideoDraws);
    EXPECT_FALSE(none.Showing());
    EXPECT_TRUE(bad.library.open.empty());
}

TEST(VideoWall, ChangeMovesEveryMonitorToAnotherEntry) {
    Wall w;
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "d.mp4"})
        w.Add(std::string("D:\\v\\") + name);
    VideoWall wall = w.Make(VideoMonitors::EachItsOwn);
    wall.Start(w.entries);
    wall.Tick();
    ASSERT_EQ(w.played.size(), 2u);
    wall.Change(w.entries);
    ASSERT_EQ(w.played.size(), 4u);
    EXPECT_NE(w.played[2], w.played[0]);
    EXPECT_NE(w.played[3], w.played[1]);
    EXPECT_NE(w.played[2], w.played[3]);
    EXPECT_TRUE(Plays(w.first) && Plays(w.second));
}

TEST(VideoWall, SoundOnlyWhenAskedAndFromThePrimaryAlone) {
    for (const bool sound : {false, true}) {
        Wall w;
        w.Add("D:\\v\\a.mp4", {{1280, 720}, 0xFF});
        VideoWall wall = w.Make(VideoMonitors::SameOnAll, sound);
        wall.Start(w.entries);
        wall.Tick();
        EXPECT_EQ(w.first.Muted(), !sound);
        EXPECT_TRUE(w.second.Muted());
    }
}
