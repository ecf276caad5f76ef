// The host video world: the fake player over a library holding the suite's test
// videos as the Windows world makes them.
#include "contract/VideoWorld.h"

#include <memory>

#include "fakes/FakeVideoPlayer.h"

namespace lumivane::contract {

namespace {

test::FakeVideoLibrary gLibrary;
std::unique_ptr<test::FakeVideoPlayer> gPlayer;

void Stock() {
    gLibrary.files = {
        {"wide.mp4", {kWideSize, kWideColour, false, true}},
        {"sound.mp4", {kSoundSize, kSoundColour, true, true}},
        {"truncated.mp4", {{320, 180}, 0, false, false}},
        {"cut.mp4", {{320, 180}, 0xFFFF00, false, true}},
        {"text.mp4", {{}, 0, false, false}},
        {"empty.mp4", {{}, 0, false, false}},
        {"huge.mp4", {{8192, 16}, 0x808080, false, true}},
    };
}

} // namespace

const VideoFiles& Videos() {
    if (gLibrary.files.empty())
        Stock();
    static const VideoFiles files{"wide.mp4", "sound.mp4", "truncated.mp4", "cut.mp4",
                                  "text.mp4", "empty.mp4", "gone.mp4",      "huge.mp4"};
    return files;
}

VideoPlayer& NewVideoPlayer() {
    gPlayer.reset();
    gPlayer = std::make_unique<test::FakeVideoPlayer>(gLibrary);
    return *gPlayer;
}

VideoState WaitWhile(VideoPlayer& player, VideoState from, unsigned ms) {
    for (unsigned waited = 0; player.State() == from && waited < ms; waited += 10)
        gLibrary.nowMs += 10;
    return player.State();
}

void Pump(unsigned ms) {
    gLibrary.nowMs += ms;
}

std::uint32_t SurfacePixel(int x, int y) {
    return gPlayer ? gPlayer->PixelAt(x, y) : 0;
}

std::uint32_t WaitForColour(int x, int y, std::uint32_t, unsigned) {
    return SurfacePixel(x, y);
}

std::string CopyVideo(const std::string& path) {
    static int copies = 0;
    const std::string copy = "copy" + std::to_string(++copies) + "-" + path;
    gLibrary.files[copy] = gLibrary.files.at(path);
    return copy;
}

bool DeleteVideo(const std::string& path, unsigned) {
    return gLibrary.Delete(path);
}

bool PlayerThreadsGone(unsigned) {
    return true;
}

void ReleaseVideoWorld() {
    gPlayer.reset();
}

} // namespace lumivane::contract
