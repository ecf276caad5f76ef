// The video player over Media Foundation's Source Reader. Each Open starts a
// worker thread that opens the file, decodes the first video stream to NV12 and
// paces its frames by their time stamps; unmuted, it also decodes the first
// sound track and plays it through the wave mapper, whose clock the frames then
// follow. The frames are converted to BGRX on the worker and painted on the
// window's thread by a child window of the surface, placed at the rectangle
// Play gives.
//
// The Source Reader rather than a player object or a hand-built session: it is
// the one way that decoded both files with and without an AAC track on the
// system's engine in every test bed, and it gives each frame to the program, so
// that presentation (GDI) and looping are ours.
//
// Nothing of the player ever waits for the worker: an open that never returns
// (the engine can hang in a truncated file) is given up after the time limit
// and its thread left behind to end, or not, with the process. Media Foundation
// is started once and never shut down, since shutting down waits for such an
// open.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/VideoPlayer.h"
#include "platform/win32/Handles.h"

namespace lumivane::win32 {

class Win32VideoPlayer : public VideoPlayer {
public:
    // surface: the window the video shows in; openLimitMs: how long an open may
    // take before the file counts as one that cannot be played.
    Win32VideoPlayer(HWND surface, unsigned openLimitMs);
    ~Win32VideoPlayer() override;
    Win32VideoPlayer(const Win32VideoPlayer&) = delete;
    Win32VideoPlayer& operator=(const Win32VideoPlayer&) = delete;

    void Open(const std::string& path) override;
    VideoState State() override;
    VideoSize NativeSize() override;
    std::string Failure() override;
    void SetLoop(bool loop) override;
    void SetMuted(bool muted) override;
    void Play(const Rect& place) override;
    void Stop() override;

    // The worker threads this player started that have not ended yet, including
    // those left in an open that never returned.
    int RunningWorkers() const;

    // Opens of every player in this process that were given up on and have not
    // returned. Under Wine such an open keeps GStreamer busy for good, and the
    // process then ends with a crash in GStreamer's threads, whatever it does.
    static int StuckOpens();
    // Waits, answering sent messages, until every worker of every stopped player
    // has ended but those stuck in an open: the engine is left by no thread
    // that is still inside it when the process ends (Wine's crashes at exit
    // then). False when the time ran out first.
    static bool SettleWorkers(unsigned milliseconds);

    // The longest time between two frames shown by the current playback, in ms:
    // a loop should add no more than a frame or two to the video's own pace.
    unsigned LongestFrameGapMs();

    struct Playback;

private:
    static LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint();
    void Close();

    UniqueHandle<HWND, &DestroyWindow> view_;
    unsigned openLimitMs_;
    bool loop_ = false;
    bool muted_ = true;
    bool playAsked_ = false;
    std::shared_ptr<Playback> playback_;
    std::shared_ptr<std::atomic<int>> workers_ = std::make_shared<std::atomic<int>>(0);
};

} // namespace lumivane::win32
