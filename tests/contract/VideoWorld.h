// The part of the contract world the video player suite needs: test videos, a
// fresh player over its own shown surface for each test, and the surface's
// pixels. The host build hands out the fake over a table of known files; the
// Windows build plays the videos make_videos.sh made through Media Foundation.
#pragma once

#include <cstdint>
#include <string>

#include "platform/VideoPlayer.h"

namespace lumivane::contract {

// 4:3, so that a 16:9 video gets bars above and below.
inline constexpr Rect kVideoSurface{0, 0, 400, 300};
inline constexpr unsigned kVideoOpenLimitMs = 5000;

// Each test video is one colour (0xRRGGBB) and lasts a second at 25 frames.
inline constexpr std::uint32_t kWideColour = 0x2060C0;  // no sound
inline constexpr std::uint32_t kSoundColour = 0xE08020; // an AAC track
inline constexpr VideoSize kWideSize{320, 180};
inline constexpr VideoSize kSoundSize{160, 120};

struct VideoFiles {
    std::string wide, withSound;
    std::string truncated; // the first third of a video whose index was at its end
    std::string cut;       // the first third of one with its index in front
    std::string text;      // a text file named .mp4
    std::string empty, missing;
    std::string huge; // 8192 x 16
};
const VideoFiles& Videos();

// A new player over the surface; the previous one is stopped first.
VideoPlayer& NewVideoPlayer();
// Lets the players work and the surface take its messages for about 10 ms.
void Step();
// The surface's pixel as shown now, 0xRRGGBB.
std::uint32_t SurfacePixel(int x, int y);
// A private copy of a test video, for the tests that delete it.
std::string CopyVideo(const std::string& path);
// False while something holds the file open.
bool DeleteVideo(const std::string& path);
// Whether the threads of the current player have all ended.
bool PlayerThreadsGone();
void ReleaseVideoWorld();

template <class Done> bool WaitFor(Done done, unsigned ms) {
    for (unsigned waited = 0; !done(); waited += 10) {
        if (waited >= ms)
            return false;
        Step();
    }
    return true;
}

inline void Pump(unsigned ms) {
    WaitFor([] { return false; }, ms);
}

inline VideoState WaitWhile(VideoPlayer& player, VideoState from, unsigned ms) {
    WaitFor([&] { return player.State() != from; }, ms);
    return player.State();
}

// Within a video encoder's error.
inline bool NearColour(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255);
        if (d < -24 || d > 24)
            return false;
    }
    return true;
}

inline std::uint32_t WaitForColour(int x, int y, std::uint32_t rgb, unsigned ms) {
    WaitFor([&] { return NearColour(SurfacePixel(x, y), rgb); }, ms);
    return SurfacePixel(x, y);
}

} // namespace lumivane::contract
