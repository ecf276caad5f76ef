// Frames as the video decoder gives them (NV12: a plane of luma, then one of
// interleaved Cb/Cr at half resolution both ways) turned into the 32-bit
// top-down BGRX rows that GDI stretches onto a window. The decoder under Wine
// offers no RGB output, so the program converts the frames itself.
#pragma once

#include <cstdint>

namespace lumivane {

// BT.601 for standard definition, BT.709 for HD; both in studio range (16-235).
enum class YuvMatrix { Bt601, Bt709 };

struct Nv12Frame {
    const std::uint8_t* luma;   // height rows of `pitch` bytes
    const std::uint8_t* chroma; // (height + 1) / 2 rows of `pitch` bytes, Cb Cr pairs
    int pitch;
    int width, height;
};

// Writes width * height pixels, 0x00RRGGBB each, row after row into out.
void Nv12ToBgrx(const Nv12Frame& frame, YuvMatrix matrix, std::uint32_t* out);

} // namespace lumivane
