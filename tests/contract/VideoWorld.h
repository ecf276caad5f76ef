// The part of the contract world the video player suite needs: test videos, a
// fresh player over its own surface for each test, and the surface's pixels.
// The host build hands out the fake over a table of known files; the Windows
// build plays files made with ffmpeg at test time through Media Foundation into
// a shown window, and reads the window's pixels back.
#pragma once

#include <cstdint>
#include <string>

#include "platform/VideoPlayer.h"

namespace lumivane::contract {

// The surface's client area: 4:3, so a 16:9 video gets bars above and below.
inline constexpr Rect kVideoSurface{0, 0, 400, 300};
// How long the players of the suite may take to open a file.
inline constexpr unsigned kVideoOpenLimitMs = 5000;

// Each test video is one colour throughout, 0xRRGGBB.
inline constexpr std::uint32_t kWideColour = 0x2060C0;  // 320 x 180, no sound, 1 s
inline constexpr std::uint32_t kSoundColour = 0xE08020; // 160 x 120, an AAC track, 1 s
inline constexpr VideoSize kWideSize{320, 180};
inline constexpr VideoSize kSoundSize{160, 120};

struct VideoFiles {
    std::string wide, withSound;
    std::string truncated; // the first part of a longer video, without its index
    std::string cut;       // the first part of a longer video with its index in front
    std::string text;      // a text file named .mp4
    std::string empty;     // zero bytes
    std::string missing;   // no such file
    std::string huge;      // 8192 x 16 frames
};
const VideoFiles& Videos();

// A new player over a new, shown surface; the previous one is stopped first.
VideoPlayer& NewVideoPlayer();
// Lets the player work (and the window take its messages) while its state is
// `from`, for at most ms; returns the state then.
VideoState WaitWhile(VideoPlayer& player, VideoState from, unsigned ms);
// Lets the player work for ms.
void Pump(unsigned ms);
// The surface's pixel as shown now, 0xRRGGBB.
std::uint32_t SurfacePixel(int x, int y);
// Waits up to ms for the surface's pixel to come within a video encoder's error
// of rgb; returns the last pixel read.
std::uint32_t WaitForColour(int x, int y, std::uint32_t rgb, unsigned ms);
inline bool NearColour(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255);
        if (d < -24 || d > 24)
            return false;
    }
    return true;
}

// A private copy of a test video, for tests that delete it.
std::string CopyVideo(const std::string& path);
// Deletes a file, trying for up to ms while something still holds it open.
bool DeleteVideo(const std::string& path, unsigned ms);
// Whether every player's own threads have ended within ms.
bool PlayerThreadsGone(unsigned ms);

// Stops the player and takes its surface off the screen.
void ReleaseVideoWorld();

} // namespace lumivane::contract
