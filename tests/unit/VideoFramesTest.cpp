// NV12 to BGRX against an independent encoder: colours are encoded with each
// matrix's forward formula, laid out as a decoder lays them (padded rows, odd
// sizes whose last column and row share their chroma), converted back and
// compared within rounding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/VideoFrames.h"

using namespace lumivane;

namespace {

struct Yuv {
    std::uint8_t y, cb, cr;
};

Yuv Encode(std::uint32_t rgb, YuvMatrix matrix) {
    const double kr = matrix == YuvMatrix::Bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::Bt709 ? 0.0722 : 0.114;
    const double r = ((rgb >> 16) & 255) / 255.0, g = ((rgb >> 8) & 255) / 255.0, b = (rgb & 255) / 255.0;
    const double y = kr * r + (1 - kr - kb) * g + kb * b;
    const auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v)); };
    return {byte(16 + 219 * y), byte(128 + 224 * (b - y) / (2 * (1 - kb))), byte(128 + 224 * (r - y) / (2 * (1 - kr)))};
}

// A frame whose 2x2 blocks each hold one colour, rows padded to `pitch` with junk.
struct Frame {
    int width, height, pitch;
    std::vector<std::uint8_t> luma, chroma;
    Frame(int w, int h, int p) : width(w), height(h), pitch(p), luma(p * h, 0xEE), chroma(p * ((h + 1) / 2), 0xEE) {}
    void Block(int bx, int by, Yuv c) {
        for (int y = 2 * by; y < std::min(2 * by + 2, height); ++y)
            for (int x = 2 * bx; x < std::min(2 * bx + 2, width); ++x)
                luma[y * pitch + x] = c.y;
        chroma[by * pitch + 2 * bx] = c.cb;
        chroma[by * pitch + 2 * bx + 1] = c.cr;
    }
    std::vector<std::uint32_t> Convert(YuvMatrix matrix) const {
        std::vector<std::uint32_t> out(width * height, 0xDEADBEEF);
        Nv12ToBgrx({luma.data(), chroma.data(), pitch, width, height}, matrix, out.data());
        return out;
    }
};

bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > 2)
            return false;
    return (a >> 24) == 0;
}

} // namespace

TEST(VideoFrames, ColoursSurviveEachMatrixAndTheLayout) {
    const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                                     0x808080, 0x2060C0, 0xE04020, 0xFFFF00, 0x00FFFF};
    for (YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
        // 5 x 3 pixels: blocks 3 wide and 2 high, the last column and row cut in half.
        Frame frame(5, 3, 16);
        for (int i = 0; i < 6; ++i)
            frame.Block(i % 3, i / 3, Encode(colours[i + (matrix == YuvMatrix::Bt709 ? 4 : 0)], matrix));
        const std::vector<std::uint32_t> out = frame.Convert(matrix);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const std::uint32_t want = colours[(x / 2) + 3 * (y / 2) + (matrix == YuvMatrix::Bt709 ? 4 : 0)];
                EXPECT_TRUE(Near(out[y * 5 + x], want))
                    << std::hex << "pixel " << x << "," << y << " is " << out[y * 5 + x] << ", want " << want;
            }
    }
}

TEST(VideoFrames, MatrixMattersAndOutOfRangeValuesClamp) {
    // Pure red encoded for HD and read as SD comes out visibly wrong: the matrix
    // is not ignored.
    Frame red(2, 2, 2);
    red.Block(0, 0, Encode(0xFF0000, YuvMatrix::Bt709));
    EXPECT_TRUE(Near(red.Convert(YuvMatrix::Bt709)[0], 0xFF0000));
    EXPECT_FALSE(Near(red.Convert(YuvMatrix::Bt601)[0], 0xFF0000));
    // Values outside studio range (full-range sources, noise) clamp, never wrap.
    Frame extremes(4, 2, 4);
    extremes.Block(0, 0, {255, 255, 255});
    extremes.Block(1, 0, {0, 0, 0});
    const std::vector<std::uint32_t> out = extremes.Convert(YuvMatrix::Bt601);
    EXPECT_EQ(out[0] & 0xFF00FFu, 0xFF00FFu) << "red and blue saturate";
    EXPECT_EQ(out[2] & 0xFF00FFu, 0u) << "red and blue bottom out";
}
