#include "platform/VideoFrames.h"

namespace lumivane {

namespace {

// Fixed-point coefficients, scaled by 2^16, of the studio-range conversions.
struct Coefficients {
    int y, rv, gu, gv, bu;
};
constexpr Coefficients kBt601{76309, 104597, -25675, -53279, 132201};
constexpr Coefficients kBt709{76309, 117489, -13975, -34925, 138438};

std::uint32_t Clamp(int v) {
    return v < 0 ? 0u : v > 255 ? 255u : static_cast<std::uint32_t>(v);
}

} // namespace

void Nv12ToBgrx(const Nv12Frame& frame, YuvMatrix matrix, std::uint32_t* out) {
    const Coefficients& c = matrix == YuvMatrix::Bt709 ? kBt709 : kBt601;
    for (int row = 0; row < frame.height; ++row) {
        const std::uint8_t* luma = frame.luma + static_cast<std::ptrdiff_t>(row) * frame.pitch;
        const std::uint8_t* chroma = frame.chroma + static_cast<std::ptrdiff_t>(row / 2) * frame.pitch;
        for (int col = 0; col < frame.width; ++col) {
            const int y = (luma[col] - 16) * c.y + (1 << 15);
            const int u = chroma[col & ~1] - 128;
            const int v = chroma[(col & ~1) + 1] - 128;
            const std::uint32_t r = Clamp((y + c.rv * v) >> 16);
            const std::uint32_t g = Clamp((y + c.gu * u + c.gv * v) >> 16);
            const std::uint32_t b = Clamp((y + c.bu * u) >> 16);
            *out++ = (r << 16) | (g << 8) | b;
        }
    }
}

} // namespace lumivane
