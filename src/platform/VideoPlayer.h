// Contract: one video playing inside one window (a monitor's surface). Opening
// never blocks the caller: Open returns at once and the player reports through
// State, which the screen window reads on its timer. A file the system's media
// engine cannot decode, or whose open takes longer than the player's time limit,
// ends in CannotPlay, and its rectangle stays black. The player draws only the
// video, into the rectangle it is given (already fitted by FitVideo); the window
// paints the bars around it.
#pragma once

#include <string>

#include "platform/Widgets.h"

namespace lumivane {

struct VideoSize {
    int width = 0, height = 0;
    bool operator==(const VideoSize&) const = default;
};

enum class VideoState {
    Idle,       // nothing opened, or stopped
    Opening,    // the engine is looking at the file
    Ready,      // opened and its first frame decoded; NativeSize is known
    Playing,    // frames are being shown in the rectangle
    Ended,      // played to the end without looping; the last frame stays
    CannotPlay, // the file cannot be played; Failure says why
};

class VideoPlayer {
public:
    virtual ~VideoPlayer() = default;
    // Starts opening a file (UTF-8 path), replacing the video this player had; a
    // Play asked for before stays asked for. Loop and mute are read when the
    // playback starts.
    virtual void Open(const std::string& path) = 0;
    virtual VideoState State() = 0;
    // The frame size the video is meant to be shown at; {0, 0} until Ready.
    virtual VideoSize NativeSize() = 0;
    // A short reason for CannotPlay, for the log; empty otherwise.
    virtual std::string Failure() = 0;
    virtual void SetLoop(bool loop) = 0;
    // Muted, the sound track is not rendered at all, so a PC without an audio
    // device plays the video too.
    virtual void SetMuted(bool muted) = 0;
    // Shows the video in a rectangle of the window, in client pixels: at once if it
    // is Ready, or as soon as its open ends well. Called again, it moves the video.
    virtual void Play(const Rect& place) = 0;
    // Stops and frees the file and every resource of the playback, and forgets
    // the Play; Idle after it.
    virtual void Stop() = 0;
};

} // namespace lumivane
