// The sound track laid on the device's timeline: gaps become silence, overlaps
// are dropped from the front, a block due past the goal waits, and a track that
// ended is followed by silence, so that frame k is always moment k / rate.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/SoundTimeline.h"

using namespace lumivane;

namespace {

// Two-byte frames whose bytes carry their frame number (silence is 0).
std::vector<std::uint8_t> Block(int first, int frames) {
    std::vector<std::uint8_t> bytes;
    for (int f = first; f < first + frames; ++f)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(f), static_cast<std::uint8_t>(f)});
    return bytes;
}

} // namespace

TEST(SoundTimeline, EachFrameLandsAtItsMoment) {
    struct Case {
        const char* what;
        long long written; // silence laid before
        long long start;   // where the block belongs; -1: no block (the track ended)
        int frames;
        long long until;
        std::vector<std::uint8_t> out;
        long long after; // Written()
        bool held;       // still holding the block
    } cases[] = {
        {"end to end", 2, 2, 3, 4, Block(2, 3), 5, false},
        {"a gap is silence", 1, 3, 2, 10, {0, 0, 0, 0, 3, 3, 4, 4}, 5, false},
        {"an overlap is dropped", 4, 2, 4, 10, Block(4, 2), 6, false},
        {"wholly played already", 9, 2, 4, 10, {}, 9, false},
        {"due past the goal: silence, and it waits", 0, 5, 2, 2, {0, 0, 0, 0}, 2, true},
        {"the track ended", 1, -1, 0, 3, {0, 0, 0, 0}, 3, false},
    };
    for (const Case& c : cases) {
        SoundTimeline timeline(2);
        std::vector<std::uint8_t> out;
        timeline.Take(c.written, out); // silence up to where the case begins
        out.clear();
        if (c.start >= 0) {
            std::vector<std::uint8_t> block = Block(static_cast<int>(c.start), c.frames);
            block.push_back(99); // half a frame is never played
            timeline.Hold(c.start, block);
        }
        timeline.Take(c.until, out);
        EXPECT_EQ(out, c.out) << c.what;
        EXPECT_EQ(timeline.Written(), c.after) << c.what;
        EXPECT_EQ(timeline.Holding(), c.held) << c.what;
    }
}
