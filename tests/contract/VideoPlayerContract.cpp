// What the screen window relies on of a video player, checked against the fake
// on the host and against Media Foundation under Wine: a good file opens with
// its native size and shows its colour in the fitted rectangle with black bars;
// a sound track plays muted or not on a PC without audio; bad files say "cannot
// play" within the time limit and leave the rectangle black; a video ends or
// loops; Stop frees the file and the player's threads, also after the file was
// deleted under it; a player plays again after any of it.
#include <gtest/gtest.h>

#include "contract/VideoWorld.h"
#include "saver/VideoFit.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {

struct VideoPlayerContract : ::testing::Test {
    void TearDown() override { ReleaseVideoWorld(); }
};

VideoState Opened(VideoPlayer& player) {
    return WaitWhile(player, VideoState::Opening, kVideoOpenLimitMs + 2000);
}

} // namespace

TEST_F(VideoPlayerContract, GoodFileOpensWithItsSizeAndPlaysFittedWithBars) {
    VideoPlayer& player = NewVideoPlayer();
    EXPECT_EQ(player.State(), VideoState::Idle);
    player.Open(Videos().wide);
    ASSERT_EQ(Opened(player), VideoState::Ready) << player.Failure();
    EXPECT_EQ(player.NativeSize(), kWideSize);
    EXPECT_EQ(player.Failure(), "");

    const Rect place = FitVideo(player.NativeSize(), kVideoSurface); // 400 x 225 at 0, 37
    player.Play(place);
    EXPECT_EQ(player.State(), VideoState::Playing);
    const int right = place.left + place.width - 1, bottom = place.top + place.height - 1;
    EXPECT_TRUE(NearColour(WaitForColour(200, 150, kWideColour, 3000), kWideColour))
        << std::hex << SurfacePixel(200, 150);
    for (auto [x, y] : {std::pair{0, place.top}, {right, bottom}})
        EXPECT_TRUE(NearColour(SurfacePixel(x, y), kWideColour)) << "the video fills its place at " << x << "," << y;
    EXPECT_EQ(SurfacePixel(200, place.top - 3), 0u) << "the bar above stays black";
    EXPECT_EQ(SurfacePixel(200, bottom + 3), 0u) << "the bar below stays black";
}

TEST_F(VideoPlayerContract, SoundTrackPlaysMutedOrNotWithoutAnAudioDevice) {
    for (bool muted : {true, false}) {
        VideoPlayer& player = NewVideoPlayer();
        player.SetMuted(muted);
        player.Play(kVideoSurface); // asked before the open ends: it starts as soon as it can
        player.Open(Videos().withSound);
        ASSERT_EQ(Opened(player), VideoState::Playing) << "muted " << muted << ": " << player.Failure();
        EXPECT_EQ(player.NativeSize(), kSoundSize);
        const std::uint32_t pixel = WaitForColour(100, 100, kSoundColour, 3000);
        EXPECT_TRUE(NearColour(pixel, kSoundColour)) << "muted " << muted << ": " << std::hex << pixel;
    }
}

TEST_F(VideoPlayerContract, BadFilesCannotPlayWithinTheLimitAndStayBlack) {
    const VideoFiles& v = Videos();
    for (const std::string& path : {v.truncated, v.text, v.empty, v.missing}) {
        VideoPlayer& player = NewVideoPlayer();
        player.Play(kVideoSurface);
        player.Open(path);
        EXPECT_EQ(Opened(player), VideoState::CannotPlay) << path;
        EXPECT_NE(player.Failure(), "") << path;
        EXPECT_EQ(player.NativeSize(), VideoSize{}) << path;
        Pump(200);
        EXPECT_EQ(SurfacePixel(200, 150), 0u) << path;
        player.Open(v.wide);
        EXPECT_EQ(Opened(player), VideoState::Playing) << path << ", then a good file: " << player.Failure();
    }
}

TEST_F(VideoPlayerContract, HugeFramesAndCutFilesPlayOrCannotPlayButNeverHang) {
    for (const auto& [path, size] : {std::pair{Videos().huge, VideoSize{8192, 16}}, {Videos().cut, kWideSize}}) {
        VideoPlayer& player = NewVideoPlayer();
        player.Open(path);
        const VideoState state = Opened(player);
        ASSERT_TRUE(state == VideoState::Ready || state == VideoState::CannotPlay) << path << " " << int(state);
        if (state == VideoState::Ready) {
            EXPECT_EQ(player.NativeSize(), size) << path;
            player.Play(FitVideo(player.NativeSize(), kVideoSurface));
            Pump(2000); // past the end of what is left of the cut file
            EXPECT_NE(player.State(), VideoState::Opening) << path;
        }
        player.Stop();
        EXPECT_EQ(player.State(), VideoState::Idle) << path;
        EXPECT_TRUE(WaitFor(PlayerThreadsGone, 3000)) << path;
    }
}

TEST_F(VideoPlayerContract, EndsWithoutLoopAndGoesOnWithIt) {
    for (bool loop : {false, true}) {
        VideoPlayer& player = NewVideoPlayer();
        player.SetLoop(loop);
        player.Play(kVideoSurface);
        player.Open(Videos().withSound);
        ASSERT_EQ(Opened(player), VideoState::Playing) << player.Failure();
        // A second long: once ended it keeps its last frame; looping, it goes on.
        EXPECT_EQ(WaitWhile(player, VideoState::Playing, loop ? 2500 : 4000),
                  loop ? VideoState::Playing : VideoState::Ended);
        EXPECT_TRUE(NearColour(SurfacePixel(200, 150), kSoundColour)) << loop << std::hex << SurfacePixel(200, 150);
    }
}

TEST_F(VideoPlayerContract, StopFreesTheFileAndThreadsAlsoAfterTheFileWasDeleted) {
    for (bool deleteWhilePlaying : {false, true}) {
        const std::string copy = CopyVideo(Videos().wide);
        VideoPlayer& player = NewVideoPlayer();
        player.SetLoop(true);
        player.Play(kVideoSurface);
        player.Open(copy);
        ASSERT_EQ(Opened(player), VideoState::Playing) << player.Failure();
        // Windows refuses to delete a file being read; where it can, the player
        // turns black or keeps what it had, and never hangs.
        const bool deleted = deleteWhilePlaying && DeleteVideo(copy);
        Pump(deleteWhilePlaying ? 1500 : 100);
        const VideoState state = player.State();
        EXPECT_TRUE(state == VideoState::Playing || state == VideoState::CannotPlay) << int(state);
        player.Stop();
        EXPECT_EQ(player.State(), VideoState::Idle);
        EXPECT_EQ(player.NativeSize(), VideoSize{});
        EXPECT_TRUE(deleted || WaitFor([&] { return DeleteVideo(copy); }, 3000)) << "the file is still held";
        EXPECT_TRUE(WaitFor(PlayerThreadsGone, 3000));
        Pump(100);
        EXPECT_EQ(SurfacePixel(200, 150), 0u) << "a stopped player leaves its place black";
    }
}
