#include "platform/SoundTimeline.h"

#include <algorithm>
#include <utility>

namespace lumivane {

void SoundTimeline::Hold(long long start, std::vector<std::uint8_t> bytes) {
    held_ = std::move(bytes);
    held_.resize(held_.size() - held_.size() % bytesPerFrame_); // no half frame
    start_ = start;
    holding_ = true;
}

void SoundTimeline::Drop() {
    holding_ = false;
    held_.clear();
}

void SoundTimeline::Silence(long long frames, std::vector<std::uint8_t>& out) {
    if (frames <= 0)
        return;
    out.insert(out.end(), static_cast<std::size_t>(frames * bytesPerFrame_), std::uint8_t{0});
    written_ += frames;
}

void SoundTimeline::Take(long long until, std::vector<std::uint8_t>& out) {
    if (!holding_) {
        Silence(until - written_, out);
        return;
    }
    if (start_ > written_) {
        Silence(std::min(start_, until) - written_, out);
        if (start_ > written_)
            return; // the block begins past `until`: it waits
    }
    const long long frames = static_cast<long long>(held_.size()) / bytesPerFrame_;
    const long long skip = std::min(written_ - start_, frames);
    out.insert(out.end(), held_.begin() + static_cast<std::ptrdiff_t>(skip * bytesPerFrame_), held_.end());
    written_ += frames - skip;
    Drop();
}

} // namespace lumivane
