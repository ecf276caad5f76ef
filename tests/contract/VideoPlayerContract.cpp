// What the screen window relies on of a video player, checked against the fake
// on the host and against Media Foundation under Wine: a good file opens with
// its native size and shows its colour in the fitted rectangle with black bars;
// a sound track plays with sound off and on a PC without audio; bad files say
// "cannot play" within the time limit and leave the rectangle black; Stop frees
// the file and the player's threads; a player opens again after any of it.
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

int CentreX(const Rect& r) {
    return r.left + r.width / 2;
}
int CentreY(const Rect& r) {
    return r.top + r.height / 2;
}

} // namespace

TEST_F(VideoPlayerContract, GoodFileOpensWithItsSizeAndPlaysFittedWithBars) {
    VideoPlayer& player = NewVideoPlayer();
    EXPECT_EQ(player.State(), VideoState::Idle);
    player.SetMuted(true);
    player.Open(Videos().wide);
    ASSERT_EQ(Opened(player), VideoState::Ready) << player.Failure();
    EXPECT_EQ(player.NativeSize(), kWideSize);
    EXPECT_EQ(player.Failure(), "");

    const Rect place = FitVideo(player.NativeSize(), kVideoSurface); // 400 x 225, bars of 37 and 38
    player.Play(place);
    EXPECT_EQ(player.State(), VideoState::Playing);
    const std::uint32_t centre = WaitForColour(CentreX(place), CentreY(place), kWideColour, 3000);
    EXPECT_TRUE(NearColour(centre, kWideColour)) << std::hex << centre;
    for (auto [x, y] :
         {std::pair{place.left + 2, place.top + 2}, {place.left + place.width - 3, place.top + place.height - 3}})
        EXPECT_TRUE(NearColour(SurfacePixel(x, y), kWideColour)) << "the video fills its place at " << x << "," << y;
    EXPECT_EQ(SurfacePixel(200, place.top - 5), 0u) << "the bar above stays black";
    EXPECT_EQ(SurfacePixel(200, place.top + place.height + 5), 0u) << "the bar below stays black";
}

TEST_F(VideoPlayerContract, SoundTrackPlaysMutedOrNotWithoutAnAudioDevice) {
    // The test beds have no audio device: a sound track must never stop the video.
    for (bool muted : {true, false}) {
        VideoPlayer& player = NewVideoPlayer();
        player.SetMuted(muted);
        player.SetLoop(true);
        // Asked to play before the open ends, it starts as soon as it can.
        player.Play(kVideoSurface);
        player.Open(Videos().withSound);
        ASSERT_EQ(WaitWhile(player, VideoState::Opening, kVideoOpenLimitMs + 2000), VideoState::Playing)
            << "muted " << muted << ": " << player.Failure();
        EXPECT_EQ(player.NativeSize(), kSoundSize);
        const std::uint32_t pixel = WaitForColour(100, 100, kSoundColour, 3000);
        EXPECT_TRUE(NearColour(pixel, kSoundColour)) << "muted " << muted << ": " << std::hex << pixel;
    }
}

TEST_F(VideoPlayerContract, BadFilesCannotPlayWithinTheLimitAndStayBlack) {
    const std::pair<const char*, std::string> bad[] = {{"truncated", Videos().truncated},
                                                       {"text", Videos().text},
                                                       {"empty", Videos().empty},
                                                       {"missing", Videos().missing}};
    for (const auto& [name, path] : bad) {
        VideoPlayer& player = NewVideoPlayer();
        player.Play(kVideoSurface);
        player.Open(path);
        EXPECT_EQ(Opened(player), VideoState::CannotPlay) << name;
        EXPECT_NE(player.Failure(), "") << name;
        EXPECT_EQ(player.NativeSize(), VideoSize{}) << name;
        Pump(200);
        EXPECT_EQ(SurfacePixel(200, 150), 0u) << name;
        // The same player plays a good file afterwards.
        player.Open(Videos().wide);
        EXPECT_EQ(Opened(player), VideoState::Playing) << name << ": " << player.Failure();
    }
}

TEST_F(VideoPlayerContract, HugeFramesAndCutFilesPlayOrCannotPlayButNeverHang) {
    const std::pair<std::string, VideoSize> odd[] = {{Videos().huge, {8192, 16}}, {Videos().cut, {320, 180}}};
    for (const auto& [path, size] : odd) {
        VideoPlayer& player = NewVideoPlayer();
        player.Open(path);
        const VideoState state = Opened(player);
        ASSERT_TRUE(state == VideoState::Ready || state == VideoState::CannotPlay) << path << " " << int(state);
        if (state == VideoState::Ready) {
            EXPECT_EQ(player.NativeSize(), size) << path;
            player.Play(FitVideo(player.NativeSize(), kVideoSurface));
            // Past the end of what is left of the cut file.
            Pump(2000);
            const VideoState played = player.State();
            EXPECT_TRUE(played == VideoState::Playing || played == VideoState::Ended ||
                        played == VideoState::CannotPlay)
                << path << " " << int(played);
        }
        player.Stop();
        EXPECT_EQ(player.State(), VideoState::Idle) << path;
        EXPECT_TRUE(PlayerThreadsGone(3000)) << path;
    }
}

TEST_F(VideoPlayerContract, EndsWithoutLoopAndGoesOnWithIt) {
    VideoPlayer& once = NewVideoPlayer();
    once.Play(kVideoSurface);
    once.Open(Videos().withSound);
    ASSERT_EQ(Opened(once), VideoState::Playing) << once.Failure();
    // The video lasts a second: it ends on its own and keeps its last frame.
    EXPECT_EQ(WaitWhile(once, VideoState::Playing, 4000), VideoState::Ended);
    EXPECT_TRUE(NearColour(SurfacePixel(200, 150), kSoundColour)) << std::hex << SurfacePixel(200, 150);

    VideoPlayer& looping = NewVideoPlayer();
    looping.SetLoop(true);
    looping.Play(kVideoSurface);
    looping.Open(Videos().withSound);
    ASSERT_EQ(Opened(looping), VideoState::Playing) << looping.Failure();
    EXPECT_EQ(WaitWhile(looping, VideoState::Playing, 2500), VideoState::Playing) << looping.Failure();
    EXPECT_TRUE(NearColour(SurfacePixel(200, 150), kSoundColour)) << std::hex << SurfacePixel(200, 150);
}

TEST_F(VideoPlayerContract, StopFreesTheFileAndThePlayersThreads) {
    const std::string copy = CopyVideo(Videos().wide);
    VideoPlayer& player = NewVideoPlayer();
    player.SetLoop(true);
    player.Play(kVideoSurface);
    player.Open(copy);
    ASSERT_EQ(Opened(player), VideoState::Playing) << player.Failure();
    player.Stop();
    EXPECT_EQ(player.State(), VideoState::Idle);
    EXPECT_EQ(player.NativeSize(), VideoSize{});
    EXPECT_TRUE(DeleteVideo(copy, 3000)) << "the file is still held";
    EXPECT_TRUE(PlayerThreadsGone(3000));
    Pump(100);
    EXPECT_EQ(SurfacePixel(200, 150), 0u) << "a stopped player leaves its place black";
}

TEST_F(VideoPlayerContract, FileDeletedWhilePlayingNeverHangs) {
    // Windows refuses to delete a file that is being read; where it can, the
    // player ends up black or keeps what it had. Either way it stops at once.
    const std::string copy = CopyVideo(Videos().wide);
    VideoPlayer& player = NewVideoPlayer();
    player.SetLoop(true);
    player.Play(kVideoSurface);
    player.Open(copy);
    ASSERT_EQ(Opened(player), VideoState::Playing) << player.Failure();
    const bool deleted = DeleteVideo(copy, 0);
    Pump(1500);
    const VideoState state = player.State();
    EXPECT_TRUE(state == VideoState::Playing || state == VideoState::CannotPlay) << static_cast<int>(state);
    player.Stop();
    EXPECT_EQ(player.State(), VideoState::Idle);
    if (!deleted) {
        EXPECT_TRUE(DeleteVideo(copy, 3000)) << "the file is still held";
    }
    EXPECT_TRUE(PlayerThreadsGone(3000));
}
