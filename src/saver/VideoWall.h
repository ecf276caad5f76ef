// The videos of saver mode on every monitor: which entry of the Video list plays
// where by the monitor mode, each monitor's player opened and fitted, an entry
// that cannot be played drawn again, and every monitor moved on at "Change every".
// The screen window owns one player per monitor surface and calls Tick on a timer,
// since the players open their files without blocking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/ConfigFile.h"
#include "platform/FileSystem.h"
#include "platform/VideoPlayer.h"

namespace lumivane {

// How many entries one monitor (or the monitors sharing a video) tries before it
// stays black: a missing file, or one the media engine cannot play, is a draw.
inline constexpr int kVideoDraws = 5;

struct VideoSurface {
    VideoPlayer* player;
    Rect monitor; // in virtual-screen pixels; the surface's client area covers it
};

class VideoWall {
public:
    // The next index below n of the pick's random sequence.
    using RandomIndex = std::function<std::size_t(std::size_t n)>;
    // Told of each entry once it plays (the round of "Play each once" keeps it).
    using Played = std::function<void(const std::string& path)>;

    // The surfaces with the primary monitor first.
    VideoWall(std::vector<VideoSurface> surfaces, const VideoOptions& options, FileSystem& files, RandomIndex random,
              Played played);

    // Picks an entry for every monitor the mode uses, each monitor its own where
    // the list has enough entries.
    void Start(const std::vector<std::string>& entries);
    // Follows the players: an opened video is fitted and shown, an entry that
    // cannot play is replaced by another draw. Returns true once, when no monitor
    // got a video within its draws (the warning's turn).
    bool Tick();
    // "Change every": every monitor that shows a video moves on to another of the
    // entries where there is one.
    void Change(const std::vector<std::string>& entries);
    // Stops every player and frees what it holds.
    void Stop();
    // A video shows on some monitor (the help text and the strip stay hidden).
    bool Showing() const;

private:
    enum class Phase { Opening, Showing, Failed };
    // The surfaces that show one entry: one for "Each its own", all of them for
    // "Same on all" and "One across all".
    struct Group {
        std::vector<std::size_t> surfaces;
        std::vector<Rect> areas; // per surface, in virtual-screen pixels: where the video is fitted
        std::string entry;
        int draws = 0;
        Phase phase = Phase::Failed;
    };

    void Draw(Group& group);
    void Show(Group& group);

    std::vector<VideoSurface> surfaces_;
    bool sound_;
    FileSystem& files_;
    RandomIndex random_;
    Played played_;
    std::vector<Group> groups_;
    std::vector<std::string> entries_;
    bool warned_ = false;
};

} // namespace lumivane
