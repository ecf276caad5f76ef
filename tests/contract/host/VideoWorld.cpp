// The host video world: the fake player over a library holding the suite's test
// videos as make_videos.sh makes them, on the fake's own clock.
#include "contract/VideoWorld.h"

#include <memory>

#include "fakes/FakeVideoPlayer.h"

namespace lumivane::contract {

namespace {
test::FakeVideoLibrary gLibrary;
std::unique_ptr<test::FakeVideoPlayer> gPlayer;
} // namespace

const VideoFiles& Videos() {
    static const VideoFiles files = [] {
        const test::FakeVideo undecodable{{}, 0, false};
        gLibrary.files = {{"wide.mp4", {kWideSize, kWideColour}},
                          {"sound.mp4", {kSoundSize, kSoundColour}},
                          {"cut.mp4", {{320, 180}, 0xFFFF00}},
                          {"huge.mp4", {{8192, 16}, 0x2060C0}},
                          {"truncated.mp4", undecodable},
                          {"text.mp4", undecodable},
                          {"empty.mp4", undecodable}};
        return VideoFiles{"wide.mp4", "sound.mp4", "truncated.mp4", "cut.mp4",
                          "text.mp4", "empty.mp4", "gone.mp4",      "huge.mp4"};
    }();
    return files;
}

VideoPlayer& NewVideoPlayer() {
    gPlayer.reset();
    gPlayer = std::make_unique<test::FakeVideoPlayer>(gLibrary);
    return *gPlayer;
}

void Step() {
    gLibrary.nowMs += 10;
}

std::uint32_t SurfacePixel(int x, int y) {
    return gPlayer ? gPlayer->PixelAt(x, y) : 0;
}

std::string CopyVideo(const std::string& path) {
    const std::string copy = "copy-" + path;
    gLibrary.files[copy] = gLibrary.files.at(path);
    return copy;
}

bool DeleteVideo(const std::string& path) {
    return gLibrary.Delete(path);
}

bool PlayerThreadsGone() {
    return true;
}

void ReleaseVideoWorld() {
    gPlayer.reset();
}

} // namespace lumivane::contract
