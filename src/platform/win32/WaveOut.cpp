#include "platform/win32/WaveOut.h"

#include <utility>

namespace lumivane::win32 {

// A queued block: its header points into its bytes, and it stays prepared until
// the device has played it or been reset.
struct WaveOut::Block {
    HWAVEOUT device;
    std::vector<std::uint8_t> bytes;
    WAVEHDR header{};

    Block(HWAVEOUT d, std::vector<std::uint8_t> b) : device(d), bytes(std::move(b)) {
        header.lpData = reinterpret_cast<LPSTR>(bytes.data());
        header.dwBufferLength = static_cast<DWORD>(bytes.size());
    }
    ~Block() {
        if (header.dwFlags & WHDR_PREPARED)
            waveOutUnprepareHeader(device, &header, sizeof header);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
};

void WaveOut::Close(HWAVEOUT device) {
    waveOutClose(device);
}

WaveOut::WaveOut(const WAVEFORMATEX& format) {
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR)
        device_.Reset(device);
}

WaveOut::~WaveOut() {
    // Every block comes back done, so that each can be unprepared before the
    // device closes.
    if (device_)
        waveOutReset(device_.Get());
    queued_.clear();
}

bool WaveOut::Write(std::vector<std::uint8_t> bytes) {
    if (!device_)
        return false;
    while (!queued_.empty() && (queued_.front()->header.dwFlags & WHDR_DONE))
        queued_.pop_front();
    if (bytes.empty())
        return true;
    auto block = std::make_unique<Block>(device_.Get(), std::move(bytes));
    if (waveOutPrepareHeader(device_.Get(), &block->header, sizeof block->header) != MMSYSERR_NOERROR)
        return false;
    const bool written = waveOutWrite(device_.Get(), &block->header, sizeof block->header) == MMSYSERR_NOERROR;
    queued_.push_back(std::move(block));
    return written;
}

long long WaveOut::Played() {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (device_ && waveOutGetPosition(device_.Get(), &time, sizeof time) == MMSYSERR_NOERROR &&
        time.wType == TIME_SAMPLES) {
        if (time.u.sample < lastSamples_)
            wraps_ += 0x100000000LL; // the 32-bit count wraps after a day of sound
        lastSamples_ = time.u.sample;
    }
    return wraps_ + lastSamples_;
}

} // namespace lumivane::win32
