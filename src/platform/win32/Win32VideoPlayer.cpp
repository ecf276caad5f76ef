#include "platform/win32/Win32VideoPlayer.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/IntegerText.h"
#include "platform/SoundTimeline.h"
#include "platform/VideoFrames.h"
#include "platform/win32/AnsweringWait.h"
#include "platform/win32/WaveOut.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

namespace {

using SteadyClock = std::chrono::steady_clock;
// Media Foundation's times: 100 ns units.
constexpr LONGLONG kSecond = 10000000;
using Ticks = std::chrono::duration<LONGLONG, std::ratio<1, kSecond>>;

// Posted by a worker to the view when it has a new frame.
constexpr UINT kFrameMessage = WM_APP + 1;
constexpr wchar_t kViewClass[] = L"LumivaneVideoView";
// Beyond this a frame is not shown: its BGRX copy alone would pass 256 MB.
constexpr long long kMaxPixels = 8192LL * 8192;
constexpr int kMaxSide = 16384;
// Every open that does not return holds one of the four threads of the engine's
// shared work queue under Wine; with all four held, every later open hangs too.
// Past this many, a new open says "cannot play" at once instead.
constexpr int kMaxStuckOpens = 3;

// Opens given up on (timed out, or the player moved on) that have not returned.
std::atomic<int> gStuckOpens{0};
// Every player's workers still running, the stuck ones among them.
std::atomic<int> gWorkers{0};

std::string Hr(const char* what, HRESULT hr) {
    return std::string(what) + " (0x" + HexDigits(static_cast<std::uint32_t>(hr), 8) + ")";
}

// A reason the worker gives up on the file, carried to the player's Failure.
struct CannotPlay {
    std::string why;
};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw CannotPlay{Hr(what, hr)};
}

HRESULT StartMediaFoundation() {
    static const HRESULT started = MFStartup(MF_VERSION, MFSTARTUP_LITE);
    return started;
}

// The worker's COM apartment, left when the worker ends.
class Apartment {
public:
    Apartment() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~Apartment() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    HRESULT hr_;
};

// Takes a worker off its player's count at the worker's very end. Open counts
// it before the thread starts, so that a worker not yet running is not missed.
class WorkerEnd {
public:
    explicit WorkerEnd(std::shared_ptr<std::atomic<int>> count) : count_(std::move(count)) {}
    ~WorkerEnd() {
        --*count_;
        --gWorkers;
    }
    WorkerEnd(const WorkerEnd&) = delete;
    WorkerEnd& operator=(const WorkerEnd&) = delete;

private:
    std::shared_ptr<std::atomic<int>> count_;
};

// How the decoder lays out its NV12 frames.
struct Layout {
    int frameWidth = 0, frameHeight = 0; // the buffers' size, often padded to 16
    int left = 0, top = 0;               // the picture inside them
    VideoSize picture;
    int stride = 0; // 0: unknown, taken from the buffer's length
    YuvMatrix matrix = YuvMatrix::Bt601;
};

Layout ReadLayout(IMFSourceReader& reader) {
    ComRef<IMFMediaType> type;
    Check(reader.GetCurrentMediaType(MF_SOURCE_READER_FIRST_VIDEO_STREAM, type.Put()), "no video format");
    UINT64 size = 0;
    Check(type->GetUINT64(MF_MT_FRAME_SIZE, &size), "no frame size");
    Layout layout;
    layout.frameWidth = static_cast<int>(size >> 32);
    layout.frameHeight = static_cast<int>(size & 0xFFFFFFFF);
    layout.picture = {layout.frameWidth, layout.frameHeight};
    MFVideoArea area{};
    if (SUCCEEDED(
            type->GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8*>(&area), sizeof area, nullptr)) &&
        area.Area.cx > 0 && area.Area.cy > 0 && area.OffsetX.value >= 0 && area.OffsetY.value >= 0 &&
        area.OffsetX.value + area.Area.cx <= layout.frameWidth &&
        area.OffsetY.value + area.Area.cy <= layout.frameHeight) {
        layout.left = area.OffsetX.value & ~1;
        layout.top = area.OffsetY.value & ~1;
        layout.picture = {static_cast<int>(area.Area.cx), static_cast<int>(area.Area.cy)};
    }
    if (layout.picture.width <= 0 || layout.picture.height <= 0 || layout.frameWidth > kMaxSide ||
        layout.frameHeight > kMaxSide || static_cast<long long>(layout.frameWidth) * layout.frameHeight > kMaxPixels)
        throw CannotPlay{"frame size " + std::to_string(layout.frameWidth) + " x " +
                         std::to_string(layout.frameHeight) + " out of range"};
    UINT32 stride = 0;
    if (SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride)) && static_cast<int>(stride) >= layout.frameWidth)
        layout.stride = static_cast<int>(stride);
    UINT32 matrix = 0;
    if (SUCCEEDED(type->GetUINT32(MF_MT_YUV_MATRIX, &matrix)) && matrix != MFVideoTransferMatrix_Unknown)
        layout.matrix = matrix == MFVideoTransferMatrix_BT709 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
    else // untagged: HD sources are BT.709 by convention
        layout.matrix = layout.picture.height >= 720 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
    return layout;
}

// The buffer of a sample, locked while this lives.
class LockedBuffer {
public:
    explicit LockedBuffer(IMFSample& sample) {
        Check(sample.ConvertToContiguousBuffer(buffer_.Put()), "no frame buffer");
        Check(buffer_->Lock(&data_, nullptr, &length_), "frame buffer not readable");
    }
    ~LockedBuffer() { buffer_->Unlock(); }
    LockedBuffer(const LockedBuffer&) = delete;
    LockedBuffer& operator=(const LockedBuffer&) = delete;
    const BYTE* Data() const { return data_; }
    DWORD Length() const { return length_; }

private:
    ComRef<IMFMediaBuffer> buffer_;
    BYTE* data_ = nullptr;
    DWORD length_ = 0;
};

// Converts into `pixels`, whose memory is reused from frame to frame: a 1080p
// frame is 8 MB, too much to take from the system anew 25 times a second.
void Convert(IMFSample& sample, const Layout& layout, std::vector<std::uint32_t>& pixels) {
    LockedBuffer buffer(sample);
    const long long rows = layout.frameHeight + (layout.frameHeight + 1) / 2;
    long long stride = layout.stride;
    if (stride == 0)
        stride = buffer.Length() / rows;
    if (stride < layout.frameWidth || stride * rows > buffer.Length())
        throw CannotPlay{"the decoder gave a short frame"};
    const BYTE* luma = buffer.Data() + layout.top * stride + layout.left;
    const BYTE* chroma = buffer.Data() + stride * layout.frameHeight + (layout.top / 2) * stride + layout.left;
    pixels.resize(static_cast<std::size_t>(layout.picture.width) * layout.picture.height);
    Nv12ToBgrx({luma, chroma, static_cast<int>(stride), layout.picture.width, layout.picture.height}, layout.matrix,
               pixels.data());
}

// How far the sound is decoded and queued ahead of the frame being waited for.
constexpr LONGLONG kSoundLead = kSecond / 2;
// A device whose position stands still this long with sound queued is given up.
constexpr auto kSoundStall = std::chrono::seconds(2);

using WaveFormat = UniqueHandle<WAVEFORMATEX*, &CoTaskMemFree>;

// Asks the reader for the first sound track as 16-bit PCM; its format, or none.
WaveFormat PcmFormat(IMFSourceReader& reader) {
    const DWORD audio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
    ComRef<IMFMediaType> pcm, type;
    WAVEFORMATEX* made = nullptr;
    UINT32 size = 0;
    if (FAILED(MFCreateMediaType(pcm.Put())) || FAILED(pcm->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio)) ||
        FAILED(pcm->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM)) ||
        FAILED(pcm->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16)) ||
        FAILED(reader.SetCurrentMediaType(audio, nullptr, pcm.Get())) ||
        FAILED(reader.GetCurrentMediaType(audio, type.Put())) ||
        FAILED(MFCreateWaveFormatExFromMFMediaType(type.Get(), &made, &size, MFWaveFormatExConvertFlag_Normal)))
        return {};
    WaveFormat format(made);
    if (format.Get()->wBitsPerSample != 16 || format.Get()->nBlockAlign == 0 || format.Get()->nSamplesPerSec == 0)
        return {};
    return format;
}

// The file's first sound track on the default audio device. While it plays, the
// device's position is the playback's clock and the frames follow it, so
// picture and sound stay together over any number of loops. Times are the
// playback's: from its start, across loops.
class SoundTrack {
public:
    // The first audio stream selected and decoded to 16-bit PCM, with a device to
    // play it; null when the file has no sound track, the system cannot decode
    // it or no device takes it. The stream is then left unselected, so that the
    // video plays silently.
    static std::unique_ptr<SoundTrack> Open(IMFSourceReader& reader) {
        const DWORD audio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
        if (FAILED(reader.SetStreamSelection(audio, TRUE)))
            return nullptr;
        std::unique_ptr<SoundTrack> track;
        if (WaveFormat format = PcmFormat(reader))
            track.reset(new SoundTrack(*format.Get(), Duration(reader)));
        if (!track || !track->device_.Opened()) {
            reader.SetStreamSelection(audio, FALSE);
            return nullptr;
        }
        return track;
    }

    // Decodes and queues the sound from the frame at playback time `at` to a
    // little ahead of it; a sample of the file at time t belongs at
    // t - first + offset. The queue never passes the end of the pass, so that
    // the next loop's sound is not cut. False when the sound fails: the caller
    // goes on without it.
    bool Fill(IMFSourceReader& reader, LONGLONG first, LONGLONG offset, LONGLONG at) {
        const LONGLONG end = duration_ > 0 ? duration_ - first + offset : at;
        const long long target = Frame(std::max(at, std::min(at + kSoundLead, end)));
        std::vector<std::uint8_t> out;
        for (int reads = 0; timeline_.Written() < target;) {
            if (!timeline_.Holding() && !ended_) {
                if (++reads > 1000)
                    return false; // a stream of empty samples is no sound track
                DWORD stream = 0, flags = 0;
                LONGLONG time = 0;
                ComRef<IMFSample> sample;
                if (FAILED(reader.ReadSample(MF_SOURCE_READER_FIRST_AUDIO_STREAM, 0, &stream, &flags, &time,
                                             sample.Put())) ||
                    (flags & MF_SOURCE_READERF_ERROR))
                    return false;
                ended_ = (flags & MF_SOURCE_READERF_ENDOFSTREAM) != 0;
                if (sample && !Hold(*sample.Get(), Frame(time - first + offset)))
                    return false;
                continue;
            }
            timeline_.Take(target, out); // a track that ended is followed by silence
        }
        return device_.Write(std::move(out)) && !Stalled();
    }

    // The sound of the pass before a rewind that was not yet queued is not played.
    void Rewound() {
        timeline_.Drop();
        ended_ = false;
    }

    LONGLONG Played() { return device_.Played() * kSecond / rate_; }

private:
    SoundTrack(const WAVEFORMATEX& format, LONGLONG duration)
        : device_(format), timeline_(format.nBlockAlign), rate_(format.nSamplesPerSec), duration_(duration) {}

    // The file's length, or 0 when the source does not tell.
    static LONGLONG Duration(IMFSourceReader& reader) {
        PROPVARIANT value{};
        if (FAILED(reader.GetPresentationAttribute(MF_SOURCE_READER_MEDIASOURCE, MF_PD_DURATION, &value)))
            return 0;
        const LONGLONG duration = value.vt == VT_UI8 ? static_cast<LONGLONG>(value.uhVal.QuadPart) : 0;
        PropVariantClear(&value);
        return duration;
    }

    long long Frame(LONGLONG time) const { return time * rate_ / kSecond; }

    bool Hold(IMFSample& sample, long long start) {
        try {
            LockedBuffer buffer(sample);
            timeline_.Hold(start, std::vector<std::uint8_t>(buffer.Data(), buffer.Data() + buffer.Length()));
            return true;
        } catch (const CannotPlay&) {
            return false; // the sound fails, not the video
        }
    }

    bool Stalled() {
        const long long played = device_.Played();
        const auto now = SteadyClock::now();
        if (played != lastPlayed_ || played >= timeline_.Written()) {
            lastPlayed_ = played;
            lastMoved_ = now;
        }
        return now - lastMoved_ > kSoundStall;
    }

    WaveOut device_;
    SoundTimeline timeline_;
    long long rate_;
    LONGLONG duration_;
    bool ended_ = false;
    long long lastPlayed_ = 0;
    SteadyClock::time_point lastMoved_ = SteadyClock::now();
};

} // namespace

// What a player and its worker share; the worker keeps it alive for as long as
// it runs, the player until it opens another file or stops.
struct Win32VideoPlayer::Playback {
    std::u16string path;
    bool loop = false;
    bool muted = true;
    std::uint64_t openedAtMs = 0;

    std::mutex lock;
    std::condition_variable wake;
    // Asked by the player.
    bool play = false;
    bool quit = false;
    HWND view = nullptr; // null once quit: nothing is posted to the view after that
    // Told by the worker.
    VideoState state = VideoState::Opening;
    std::string failure;
    VideoSize size;
    std::vector<std::uint32_t> frame;
    VideoSize frameSize;
    bool framePosted = false;
    bool openReturned = false;
    bool openAbandoned = false;
    SteadyClock::time_point lastShown{};
    SteadyClock::duration longestGap{};

    // Called with the lock held. The frame shown before comes back in `pixels`,
    // for the next one.
    void Publish(std::vector<std::uint32_t>& pixels, VideoSize pixelsSize) {
        frame.swap(pixels);
        frameSize = pixelsSize;
        if (view && !framePosted)
            framePosted = PostMessageW(view, kFrameMessage, 0, 0) != FALSE;
    }
    void Fail(std::string why) {
        std::lock_guard<std::mutex> hold(lock);
        if (quit)
            return;
        state = VideoState::CannotPlay;
        failure = std::move(why);
        std::vector<std::uint32_t> none;
        Publish(none, {});
    }
    // Waits until `until` or until the player quits; true if it quit.
    bool WaitUntil(SteadyClock::time_point until) {
        std::unique_lock<std::mutex> hold(lock);
        return wake.wait_until(hold, until, [this] { return quit; });
    }
    bool Quit() {
        std::lock_guard<std::mutex> hold(lock);
        return quit;
    }
    // Called with the lock held when the player gives the playback up.
    void Abandon() {
        quit = true;
        view = nullptr;
        wake.notify_all();
        if (!openReturned && !openAbandoned) {
            openAbandoned = true;
            ++gStuckOpens;
        }
    }
    void OpenReturned() {
        std::lock_guard<std::mutex> hold(lock);
        openReturned = true;
        if (openAbandoned)
            --gStuckOpens;
    }

    void Run();
    void Decode(IMFSourceReader& reader, std::unique_ptr<SoundTrack> sound);
};

namespace {

// One sample of the video stream, or none at its end.
struct Read {
    ComRef<IMFSample> sample;
    LONGLONG time = 0;
    bool end = false;
    bool formatChanged = false;
};

Read ReadFrame(IMFSourceReader& reader) {
    // The reader may hand out stream ticks (gaps) without a sample; a stream of
    // nothing but ticks is not a video.
    for (int tries = 0; tries < 1000; ++tries) {
        Read read;
        DWORD stream = 0, flags = 0;
        Check(reader.ReadSample(MF_SOURCE_READER_FIRST_VIDEO_STREAM, 0, &stream, &flags, &read.time, read.sample.Put()),
              "the video cannot be read");
        if (flags & MF_SOURCE_READERF_ERROR)
            throw CannotPlay{"the video cannot be read"};
        read.formatChanged = (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) != 0;
        read.end = (flags & MF_SOURCE_READERF_ENDOFSTREAM) != 0;
        if (read.sample || read.end)
            return read;
    }
    throw CannotPlay{"the video stream holds no frames"};
}

LONGLONG Duration(IMFSample& sample) {
    LONGLONG duration = 0;
    return SUCCEEDED(sample.GetSampleDuration(&duration)) && duration > 0 ? duration : kSecond / 25;
}

} // namespace

void Win32VideoPlayer::Playback::Run() {
    Apartment apartment;
    Check(StartMediaFoundation(), "Media Foundation is not available");
    ComRef<IMFSourceReader> reader;
    {
        struct Returned {
            Playback& p;
            ~Returned() { p.OpenReturned(); }
        } returned{*this};
        // The file's byte stream is made here and resolved on this thread, not by
        // the URL resolver: an open that never returns then holds one thread of
        // the engine's shared work queue instead of two, and that queue has four.
        ComRef<IMFByteStream> stream;
        Check(MFCreateFile(MF_ACCESSMODE_READ, MF_OPENMODE_FAIL_IF_NOT_EXIST, MF_FILEFLAGS_NONE, W(path), stream.Put()),
              "the file cannot be opened");
        ComRef<IMFSourceResolver> resolver;
        Check(MFCreateSourceResolver(resolver.Put()), "no source resolver");
        MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
        ComRef<IUnknown> object;
        Check(resolver->CreateObjectFromByteStream(stream.Get(), W(path), MF_RESOLUTION_MEDIASOURCE, nullptr, &type,
                                                   object.Put()),
              "the system cannot open it");
        ComRef<IMFMediaSource> source;
        Check(object->QueryInterface(IID_IMFMediaSource, source.PutVoid()), "not a media source");
        Check(MFCreateSourceReaderFromMediaSource(source.Get(), nullptr, reader.Put()), "no source reader");
    }
    if (Quit())
        return;
    // The video stream, and the sound track only when it is to be heard: muted,
    // it is never decoded, and with no device to play it, it is not kept, so
    // that neither can fail the video.
    Check(reader->SetStreamSelection(MF_SOURCE_READER_ALL_STREAMS, FALSE), "no streams");
    Check(reader->SetStreamSelection(MF_SOURCE_READER_FIRST_VIDEO_STREAM, TRUE), "no video stream");
    ComRef<IMFMediaType> nv12;
    Check(MFCreateMediaType(nv12.Put()), "no media type");
    Check(nv12->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video), "no media type");
    Check(nv12->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_NV12), "no media type");
    Check(reader->SetCurrentMediaType(MF_SOURCE_READER_FIRST_VIDEO_STREAM, nullptr, nv12.Get()),
          "no decoder for this video");
    Decode(*reader.Get(), muted ? nullptr : SoundTrack::Open(*reader.Get()));
}

void Win32VideoPlayer::Playback::Decode(IMFSourceReader& reader, std::unique_ptr<SoundTrack> sound) {
    Layout layout = ReadLayout(reader);
    Read read = ReadFrame(reader);
    if (read.formatChanged)
        layout = ReadLayout(reader);
    if (!read.sample)
        throw CannotPlay{"the video has no frame"};
    std::vector<std::uint32_t> pixels;
    Convert(*read.sample.Get(), layout, pixels);
    LONGLONG first = read.time, last = read.time, lastDuration = Duration(*read.sample.Get());
    {
        std::unique_lock<std::mutex> hold(lock);
        if (quit)
            return;
        state = VideoState::Ready;
        size = layout.picture;
        Publish(pixels, layout.picture);
        wake.wait(hold, [this] { return play || quit; });
        if (quit)
            return;
        state = VideoState::Playing;
    }

    // Frames are shown at their time stamps from here, by the sound's clock while
    // there is sound, else by the system's; each loop adds the length played so
    // far, so that the first frame follows the last after one frame.
    SteadyClock::time_point start = SteadyClock::now();
    LONGLONG offset = 0;
    bool frameSinceRewind = true;
    for (;;) {
        read = ReadFrame(reader);
        if (read.formatChanged)
            layout = ReadLayout(reader);
        if (read.end && !read.sample) {
            if (!loop || !frameSinceRewind) {
                std::unique_lock<std::mutex> hold(lock);
                if (!quit)
                    state = VideoState::Ended;
                wake.wait(hold, [this] { return quit; });
                return;
            }
            offset += last + lastDuration - first;
            PROPVARIANT zero{};
            zero.vt = VT_I8;
            zero.hVal.QuadPart = 0;
            Check(reader.SetCurrentPosition(GUID_NULL, zero), "the video cannot start again");
            if (sound)
                sound->Rewound();
            frameSinceRewind = false;
            continue;
        }
        if (!read.sample)
            continue;
        if (!frameSinceRewind)
            first = read.time; // a stream need not start at 0
        frameSinceRewind = true;
        last = read.time;
        lastDuration = Duration(*read.sample.Get());
        Convert(*read.sample.Get(), layout, pixels);
        const LONGLONG at = read.time - first + offset;
        if (sound && !sound->Fill(reader, first, offset, at)) {
            start = SteadyClock::now() - Ticks(sound->Played());
            sound.reset(); // the device failed or stands still: the picture goes on alone
        }
        const auto due = sound ? SteadyClock::now() + Ticks(at - sound->Played()) : start + Ticks(at);
        const auto now = SteadyClock::now();
        if (now - due > std::chrono::milliseconds(500))
            start += now - due; // far behind (a stalled system): go on from here rather than rush
        if (WaitUntil(due))
            return;
        std::lock_guard<std::mutex> hold(lock);
        if (quit)
            return;
        const auto shown = SteadyClock::now();
        if (lastShown != SteadyClock::time_point{})
            longestGap = std::max(longestGap, shown - lastShown);
        lastShown = shown;
        Publish(pixels, layout.picture);
    }
}

// Win32VideoPlayer ---------------------------------------------------------------------

Win32VideoPlayer::Win32VideoPlayer(HWND surface, unsigned openLimitMs) : openLimitMs_(openLimitMs) {
    static const ATOM registered = [] {
        WNDCLASSW view{};
        view.lpfnWndProc = &Win32VideoPlayer::ViewProc;
        view.hInstance = GetModuleHandleW(nullptr);
        view.hCursor = nullptr;
        view.hbrBackground = nullptr;
        view.lpszClassName = kViewClass;
        return RegisterClassW(&view);
    }();
    (void)registered;
    view_.Reset(CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_DISABLED, 0, 0, 0, 0, surface,
                                nullptr, GetModuleHandleW(nullptr), nullptr));
    if (view_)
        SetWindowLongPtrW(view_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32VideoPlayer::~Win32VideoPlayer() {
    Close();
    if (view_)
        SetWindowLongPtrW(view_.Get(), GWLP_USERDATA, 0);
}

int Win32VideoPlayer::RunningWorkers() const {
    return *workers_;
}

void Win32VideoPlayer::Open(const std::string& path) {
    Close();
    auto playback = std::make_shared<Playback>();
    playback->path = Wide(path);
    playback->loop = loop_;
    playback->muted = muted_;
    playback->play = playAsked_;
    playback->view = view_.Get();
    playback->openedAtMs = GetTickCount64();
    playback_ = playback;
    if (gStuckOpens >= kMaxStuckOpens) {
        playback->openReturned = true; // no open to wait for
        playback->Fail("the system's media engine is still stuck in " + std::to_string(kMaxStuckOpens) +
                       " earlier files");
        return;
    }
    ++*workers_;
    ++gWorkers;
    try {
        std::thread([playback, workers = workers_] {
            WorkerEnd end(workers);
            try {
                playback->Run();
            } catch (const CannotPlay& e) {
                playback->Fail(e.why);
            } catch (...) {
                playback->Fail("the video cannot be played");
            }
        }).detach();
    } catch (...) { // no thread to be had
        --*workers_;
        --gWorkers;
        playback->openReturned = true;
        playback->Fail("no thread to open it");
    }
}

VideoState Win32VideoPlayer::State() {
    if (!playback_)
        return VideoState::Idle;
    Playback& p = *playback_;
    std::lock_guard<std::mutex> hold(p.lock);
    if (p.state == VideoState::Opening && GetTickCount64() - p.openedAtMs > openLimitMs_) {
        // Given up: the worker may never come back, and nothing waits for it.
        p.state = VideoState::CannotPlay;
        p.failure = "opening took longer than " + std::to_string(openLimitMs_) + " ms";
        p.frame.clear();
        p.Abandon();
    }
    return p.state;
}

VideoSize Win32VideoPlayer::NativeSize() {
    const VideoState state = State();
    if (state != VideoState::Ready && state != VideoState::Playing && state != VideoState::Ended)
        return {};
    std::lock_guard<std::mutex> hold(playback_->lock);
    return playback_->size;
}

std::string Win32VideoPlayer::Failure() {
    if (State() != VideoState::CannotPlay)
        return {};
    std::lock_guard<std::mutex> hold(playback_->lock);
    return playback_->failure;
}

int Win32VideoPlayer::StuckOpens() {
    return gStuckOpens;
}

bool Win32VideoPlayer::SettleWorkers(unsigned milliseconds) {
    const ULONGLONG start = GetTickCount64();
    while (gWorkers > gStuckOpens) {
        if (GetTickCount64() - start >= milliseconds)
            return false;
        WaitAnswering(nullptr, 10);
    }
    return true;
}

unsigned Win32VideoPlayer::LongestFrameGapMs() {
    if (!playback_)
        return 0;
    std::lock_guard<std::mutex> hold(playback_->lock);
    return static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(playback_->longestGap).count());
}

void Win32VideoPlayer::SetLoop(bool loop) {
    loop_ = loop;
}

void Win32VideoPlayer::SetMuted(bool muted) {
    muted_ = muted;
}

void Win32VideoPlayer::Play(const Rect& place) {
    playAsked_ = true;
    SetWindowPos(view_.Get(), HWND_TOP, place.left, place.top, place.width, place.height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(view_.Get(), nullptr, FALSE);
    if (playback_) {
        std::lock_guard<std::mutex> hold(playback_->lock);
        playback_->play = true;
        if (playback_->state == VideoState::Ready)
            playback_->state = VideoState::Playing; // the worker is on its way
        playback_->wake.notify_all();
    }
}

void Win32VideoPlayer::Stop() {
    Close();
    playAsked_ = false;
    ShowWindow(view_.Get(), SW_HIDE);
}

void Win32VideoPlayer::Close() {
    if (!playback_)
        return;
    {
        std::lock_guard<std::mutex> hold(playback_->lock);
        playback_->Abandon();
    }
    playback_.reset();
    InvalidateRect(view_.Get(), nullptr, FALSE);
}

void Win32VideoPlayer::Paint() {
    PaintDc dc(view_.Get());
    RECT client{};
    GetClientRect(view_.Get(), &client);
    if (playback_) {
        std::lock_guard<std::mutex> hold(playback_->lock);
        const Playback& p = *playback_;
        const bool shows =
            p.state == VideoState::Ready || p.state == VideoState::Playing || p.state == VideoState::Ended;
        if (shows && !p.frame.empty()) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = p.frameSize.width;
            info.bmiHeader.biHeight = -p.frameSize.height; // top-down rows
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SetStretchBltMode(dc.Get(), COLORONCOLOR);
            StretchDIBits(dc.Get(), 0, 0, client.right, client.bottom, 0, 0, p.frameSize.width, p.frameSize.height,
                          p.frame.data(), &info, DIB_RGB_COLORS, SRCCOPY);
            return;
        }
    }
    FillRect(dc.Get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT CALLBACK Win32VideoPlayer::ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* self = reinterpret_cast<Win32VideoPlayer*>(GetWindowLongPtrW(view, GWLP_USERDATA));
        switch (message) {
        case kFrameMessage:
            if (self && self->playback_) {
                std::lock_guard<std::mutex> hold(self->playback_->lock);
                self->playback_->framePosted = false;
            }
            InvalidateRect(view, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1; // Paint covers every pixel
        case WM_PAINT:
            if (self) {
                self->Paint();
                return 0;
            }
            break;
        case WM_NCHITTEST:
            return HTTRANSPARENT; // the surface takes the mouse, as if the video were not there
        default:
            break;
        }
    } catch (...) {
        // Painting a frame is not worth ending the saver: the rectangle stays as it was.
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

} // namespace lumivane::win32
