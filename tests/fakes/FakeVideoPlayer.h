// A fake video player over a table of known files: what each shows (its size,
// one colour) and whether the engine can decode it. Open settles at once; every
// video lasts a second of the library's clock, which only tests advance; a file
// a player holds open cannot be deleted, as on Windows.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/VideoPlayer.h"

namespace lumivane::test {

struct FakeVideo {
    VideoSize size;
    std::uint32_t colour = 0;
    bool decodes = true;
};

struct FakeVideoLibrary {
    std::map<std::string, FakeVideo> files;
    std::multiset<std::string> open;
    std::uint64_t nowMs = 0;
    bool Delete(const std::string& path) { return !open.count(path) && files.erase(path) > 0; }
};

class FakeVideoPlayer : public VideoPlayer {
public:
    explicit FakeVideoPlayer(FakeVideoLibrary& library) : library_(library) {}
    ~FakeVideoPlayer() override { Close(); }

    void Open(const std::string& path) override {
        Close();
        const auto it = library_.files.find(path);
        if (it == library_.files.end() || !it->second.decodes) {
            state_ = VideoState::CannotPlay;
            return;
        }
        video_ = it->second;
        path_ = path;
        library_.open.insert(path);
        state_ = VideoState::Ready;
        if (playAsked_)
            Start();
    }
    VideoState State() override {
        if (state_ == VideoState::Playing && !loop_ && library_.nowMs - startedMs_ >= 1000)
            state_ = VideoState::Ended;
        return state_;
    }
    VideoSize NativeSize() override { return path_.empty() ? VideoSize{} : video_.size; }
    std::string Failure() override { return State() == VideoState::CannotPlay ? "not a video" : ""; }
    void SetLoop(bool loop) override { loop_ = loop; }
    void SetMuted(bool muted) override { muted_ = muted; }
    void Play(const Rect& place) override {
        place_ = place;
        playAsked_ = true;
        if (state_ == VideoState::Ready)
            Start();
    }
    void Stop() override {
        Close();
        playAsked_ = false;
    }

    // What the screen asked for.
    const Rect& Place() const { return place_; }
    bool Loops() const { return loop_; }
    bool Muted() const { return muted_; }

    // The video's colour inside its place while it shows, black elsewhere.
    std::uint32_t PixelAt(int x, int y) {
        const VideoState s = State();
        const bool shows = s == VideoState::Playing || s == VideoState::Ended;
        const Rect& r = place_;
        return shows && x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height ? video_.colour : 0;
    }

private:
    void Close() {
        if (!path_.empty())
            library_.open.erase(library_.open.find(path_));
        path_.clear();
        state_ = VideoState::Idle;
    }
    void Start() {
        state_ = VideoState::Playing;
        startedMs_ = library_.nowMs;
    }

    FakeVideoLibrary& library_;
    FakeVideo video_;
    std::string path_;
    bool loop_ = false, muted_ = false, playAsked_ = false;
    Rect place_;
    std::uint64_t startedMs_ = 0;
    VideoState state_ = VideoState::Idle;
};

} // namespace lumivane::test
