// A video's sound track laid end to end on the audio device: frame k the device
// plays is always the sound of moment k / rate of the playback, over every loop.
// A gap before a decoded block (a track that starts late, a hole in the stream,
// a track shorter than the picture) is filled with silence, and the part of a
// block that overlaps what is already written (a track longer than the picture,
// cut at the loop) is dropped. The device's position is then the playback's
// clock, which the frames follow.
#pragma once

#include <cstdint>
#include <vector>

namespace lumivane {

class SoundTimeline {
public:
    explicit SoundTimeline(int bytesPerFrame) : bytesPerFrame_(bytesPerFrame) {}

    // The next decoded block, meant to begin at frame `start`; held until taken.
    void Hold(long long start, std::vector<std::uint8_t> bytes);
    bool Holding() const { return holding_; }
    // Forgets the held block (the track was rewound before it was due).
    void Drop();
    // Appends to `out` what the device is to play next, to reach frame `until`:
    // silence up to the held block, then the whole block (which may pass
    // `until`); with no block held, silence up to `until`. Silence is zero
    // bytes: the samples are signed 16-bit.
    void Take(long long until, std::vector<std::uint8_t>& out);
    // Frames handed out so far.
    long long Written() const { return written_; }

private:
    void Silence(long long frames, std::vector<std::uint8_t>& out);

    int bytesPerFrame_;
    long long written_ = 0;
    bool holding_ = false;
    long long start_ = 0;
    std::vector<std::uint8_t> held_;
};

} // namespace lumivane
