// The fitted rectangle of a video inside a monitor's area, over the shapes that
// occur: same shape, wider and narrower video, small videos scaled up, odd
// remainders split evenly, sizes whose products pass 32 bits, and empty input.
#include <gtest/gtest.h>

#include "saver/VideoFit.h"

using namespace lumivane;

TEST(VideoFit, KeepsTheShapeCentredWithBars) {
    struct Case {
        VideoSize video;
        Rect area, expected;
    } cases[] = {
        {{1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},    // same shape, same size
        {{640, 360}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},      // small video scaled up
        {{640, 480}, {0, 0, 1920, 1080}, {240, 0, 1440, 1080}},    // 4:3 on 16:9: bars left and right
        {{1920, 1080}, {0, 0, 1024, 768}, {0, 96, 1024, 576}},     // 16:9 on 4:3: bars above and below
        {{1080, 1920}, {0, 0, 1920, 1080}, {656, 0, 608, 1080}},   // portrait video (607.5 rounds up)
        {{1920, 1080}, {1024, 0, 800, 600}, {1024, 75, 800, 450}}, // second monitor's origin kept
        {{1920, 1080}, {-1280, -200, 1280, 1024}, {-1280, -48, 1280, 720}},
        {{100, 99}, {0, 0, 101, 100}, {0, 0, 101, 100}},                  // nearly square: no 1-pixel bar
        {{65535, 1}, {0, 0, 3840, 2160}, {0, 1079, 3840, 1}},             // extreme shape keeps 1 pixel
        {{60000, 40000}, {0, 0, 60000, 60000}, {0, 10000, 60000, 40000}}, // products past 2^31
        {{0, 0}, {0, 0, 800, 600}, {400, 300, 0, 0}},                     // no size yet
        {{640, 480}, {10, 10, 0, 0}, {10, 10, 0, 0}},                     // no area
    };
    for (const Case& c : cases) {
        const Rect r = FitVideo(c.video, c.area);
        EXPECT_EQ(r, c.expected) << c.video.width << "x" << c.video.height << " in " << c.area.width << "x"
                                 << c.area.height << " gave " << r.left << "," << r.top << " " << r.width << "x"
                                 << r.height;
    }
}
