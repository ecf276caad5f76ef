// NV12 to BGRX: the published studio-range values of each matrix's primaries
// come back within rounding, values outside studio range clamp, and the layout a
// decoder gives (padded rows, odd sizes whose last column and row share their
// chroma pair) is read right.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/VideoFrames.h"

using namespace lumivane;

namespace {

bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 255) - static_cast<int>(b >> shift & 255)) > 2)
            return false;
    return a >> 24 == 0;
}

} // namespace

TEST(VideoFrames, EachMatrixGivesItsPrimariesAndClamps) {
    struct Case {
        std::uint8_t y, cb, cr;
        YuvMatrix matrix;
        std::uint32_t rgb;
    } cases[] = {
        {16, 128, 128, YuvMatrix::Bt601, 0x000000},  {235, 128, 128, YuvMatrix::Bt601, 0xFFFFFF},
        {81, 90, 240, YuvMatrix::Bt601, 0xFF0000},   {145, 54, 34, YuvMatrix::Bt601, 0x00FF00},
        {41, 240, 110, YuvMatrix::Bt601, 0x0000FF},  {63, 102, 240, YuvMatrix::Bt709, 0xFF0000},
        {173, 42, 26, YuvMatrix::Bt709, 0x00FF00},   {32, 240, 118, YuvMatrix::Bt709, 0x0000FF},
        {63, 102, 240, YuvMatrix::Bt601, 0xE90002}, // HD red read as SD: the matrix is not ignored
        {255, 255, 255, YuvMatrix::Bt601, 0xFF7DFF}, {0, 0, 0, YuvMatrix::Bt601, 0x008600}, // clamped, not wrapped
    };
    for (const Case& c : cases) {
        const std::uint8_t luma[2] = {c.y, c.y}, chroma[2] = {c.cb, c.cr};
        std::uint32_t out[2] = {};
        Nv12ToBgrx({luma, chroma, 2, 2, 1}, c.matrix, out);
        EXPECT_TRUE(Near(out[0], c.rgb) && out[1] == out[0])
            << std::hex << int(c.y) << " " << int(c.cb) << " " << int(c.cr) << " gave " << out[0] << ", want " << c.rgb;
    }
}

TEST(VideoFrames, ReadsPaddedRowsAndSharedChroma) {
    // 3 x 3 pixels in rows of 8 bytes: two chroma pairs per row, two chroma rows.
    // Luma grey everywhere, so each pixel's colour says which chroma pair it used.
    const int pitch = 8;
    std::vector<std::uint8_t> luma(pitch * 3, 126), chroma(pitch * 2, 0xEE);
    const std::uint8_t pairs[2][4] = {{90, 240, 240, 110}, {54, 34, 128, 128}}; // reddish, bluish / greenish, grey
    for (int row = 0; row < 2; ++row)
        std::copy(pairs[row], pairs[row] + 4, chroma.begin() + row * pitch);
    std::vector<std::uint32_t> out(9);
    Nv12ToBgrx({luma.data(), chroma.data(), pitch, 3, 3}, YuvMatrix::Bt601, out.data());
    const auto dominant = [](std::uint32_t p) { // 0 red, 1 green, 2 blue, 3 grey
        const int r = p >> 16 & 255, g = p >> 8 & 255, b = p & 255;
        return std::abs(r - g) < 8 && std::abs(g - b) < 8 ? 3 : r > g && r > b ? 0 : g > b ? 1 : 2;
    };
    const int expected[9] = {0, 0, 2, 0, 0, 2, 1, 1, 3};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(dominant(out[i]), expected[i]) << "pixel " << i % 3 << "," << i / 3 << std::hex << " " << out[i];
}
