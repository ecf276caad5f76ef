// NV12 to BGRX against an independent encoder: colours encoded with each
// matrix's forward formula, laid out as a decoder lays them (padded rows; odd
// sizes whose last column and row share their chroma), come back within
// rounding; the matrix is not ignored; values outside studio range clamp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/VideoFrames.h"

using namespace lumivane;

namespace {

// A frame of 2 x 2 blocks, each one colour, its rows padded to `pitch` with junk.
struct Frame {
    int width, height, pitch;
    std::vector<std::uint8_t> luma = std::vector<std::uint8_t>(pitch * height, 0xEE);
    std::vector<std::uint8_t> chroma = std::vector<std::uint8_t>(pitch * ((height + 1) / 2), 0xEE);

    void Block(int bx, int by, std::uint8_t y, std::uint8_t cb, std::uint8_t cr) {
        for (int row = 2 * by; row < 2 * by + 2 && row < height; ++row)
            for (int col = 2 * bx; col < 2 * bx + 2 && col < width; ++col)
                luma[row * pitch + col] = y;
        chroma[by * pitch + 2 * bx] = cb;
        chroma[by * pitch + 2 * bx + 1] = cr;
    }
    void Block(int bx, int by, std::uint32_t rgb, YuvMatrix matrix) {
        const double kr = matrix == YuvMatrix::Bt709 ? 0.2126 : 0.299, kb = matrix == YuvMatrix::Bt709 ? 0.0722 : 0.114;
        const double r = (rgb >> 16 & 255) / 255.0, g = (rgb >> 8 & 255) / 255.0, b = (rgb & 255) / 255.0;
        const double y = kr * r + (1 - kr - kb) * g + kb * b;
        const auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v)); };
        Block(bx, by, byte(16 + 219 * y), byte(128 + 112 * (b - y) / (1 - kb)), byte(128 + 112 * (r - y) / (1 - kr)));
    }
    std::vector<std::uint32_t> Convert(YuvMatrix matrix) const {
        std::vector<std::uint32_t> out(width * height, 0xDEADBEEF);
        Nv12ToBgrx({luma.data(), chroma.data(), pitch, width, height}, matrix, out.data());
        return out;
    }
};

bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 255) - static_cast<int>(b >> shift & 255)) > 2)
            return false;
    return a >> 24 == 0;
}

} // namespace

TEST(VideoFrames, ColoursSurviveEachMatrixAndTheLayout) {
    const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x2060C0, 0xE04020};
    for (YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
        const int first = matrix == YuvMatrix::Bt709 ? 2 : 0;
        Frame frame{5, 3, 16}; // blocks 3 wide and 2 high, the last column and row cut in half
        for (int i = 0; i < 6; ++i)
            frame.Block(i % 3, i / 3, colours[first + i], matrix);
        const std::vector<std::uint32_t> out = frame.Convert(matrix);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const std::uint32_t want = colours[first + x / 2 + 3 * (y / 2)];
                EXPECT_TRUE(Near(out[y * 5 + x], want)) << std::hex << x << "," << y << ": " << out[y * 5 + x];
            }
    }
}

TEST(VideoFrames, MatrixMattersAndOutOfRangeValuesClamp) {
    Frame red{2, 2, 2};
    red.Block(0, 0, 0xFF0000, YuvMatrix::Bt709);
    EXPECT_TRUE(Near(red.Convert(YuvMatrix::Bt709)[0], 0xFF0000));
    EXPECT_FALSE(Near(red.Convert(YuvMatrix::Bt601)[0], 0xFF0000)) << "HD red read as SD is visibly off";
    Frame extremes{4, 2, 4};
    extremes.Block(0, 0, 255, 255, 255);
    extremes.Block(1, 0, 0, 0, 0);
    const std::vector<std::uint32_t> out = extremes.Convert(YuvMatrix::Bt601);
    EXPECT_EQ(out[0] & 0xFF00FFu, 0xFF00FFu) << "red and blue saturate, not wrap";
    EXPECT_EQ(out[2] & 0xFF00FFu, 0u) << "red and blue bottom out, not wrap";
}
