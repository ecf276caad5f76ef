// The default audio device through the wave mapper, which Windows routes to the
// user's current output and converts to its format. Blocks are queued and their
// memory is taken back once played; Played is the device's clock.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/win32/Handles.h"

namespace lumivane::win32 {

class WaveOut {
public:
    // An output for `format`; none (false from Opened) on a PC without an audio
    // device or one that refuses the format.
    explicit WaveOut(const WAVEFORMATEX& format);
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    bool Opened() const { return static_cast<bool>(device_); }
    // Queues bytes to play after the ones queued before; false if the device
    // refused them.
    bool Write(std::vector<std::uint8_t> bytes);
    // Frames the device has played since it opened.
    long long Played();

private:
    struct Block;
    static void Close(HWAVEOUT device);

    UniqueHandle<HWAVEOUT, &WaveOut::Close> device_;
    std::deque<std::unique_ptr<Block>> queued_;
    DWORD lastSamples_ = 0;
    long long wraps_ = 0;
};

} // namespace lumivane::win32
