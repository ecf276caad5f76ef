// A fake video player over a table of known files: what each would show (size,
// one colour, length) and whether the engine can decode it. Open settles at once,
// time passes only when the test advances it, and the files a player holds open
// cannot be deleted, as on Windows.
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
    bool hasSound = false;
    bool decodes = true;
    unsigned durationMs = 1000;
};

struct FakeVideoLibrary {
    std::map<std::string, FakeVideo> files;
    std::multiset<std::string> open;
    std::uint64_t nowMs = 0;
    bool Delete(const std::string& path) {
        if (open.count(path))
            return false;
        return files.erase(path) > 0;
    }
};

class FakeVideoPlayer : public VideoPlayer {
public:
    explicit FakeVideoPlayer(FakeVideoLibrary& library) : library_(library) {}
    ~FakeVideoPlayer() override { Stop(); }

    bool loop = false, muted = false;
    Rect place;

    void Open(const std::string& path) override {
        Close();
        const auto it = library_.files.find(path);
        if (it == library_.files.end()) {
            Fail("file not found");
        } else if (!it->second.decodes) {
            Fail("not a video the system can decode");
        } else {
            video_ = it->second;
            path_ = path;
            library_.open.insert(path);
            state_ = VideoState::Ready;
            if (playRequested_)
                Start();
        }
    }
    VideoState State() override {
        if (state_ == VideoState::Playing && !loop && library_.nowMs - startedMs_ >= video_.durationMs)
            state_ = VideoState::Ended;
        return state_;
    }
    VideoSize NativeSize() override { return Shows() || state_ == VideoState::Ready ? video_.size : VideoSize{}; }
    std::string Failure() override { return state_ == VideoState::CannotPlay ? failure_ : std::string(); }
    void SetLoop(bool l) override { loop = l; }
    void SetMuted(bool m) override { muted = m; }
    void Play(const Rect& p) override {
        place = p;
        playRequested_ = true;
        if (state_ == VideoState::Ready)
            Start();
    }
    void Stop() override {
        Close();
        playRequested_ = false;
    }

    // What the surface shows at a point: the video's colour inside its place
    // while it plays, black elsewhere.
    std::uint32_t PixelAt(int x, int y) {
        const bool inside =
            x >= place.left && x < place.left + place.width && y >= place.top && y < place.top + place.height;
        return inside && Shows() ? video_.colour : 0;
    }

private:
    bool Shows() {
        const VideoState s = State();
        return s == VideoState::Playing || s == VideoState::Ended;
    }
    void Close() {
        if (!path_.empty())
            library_.open.erase(library_.open.find(path_));
        path_.clear();
        video_ = {};
        state_ = VideoState::Idle;
    }
    void Start() {
        state_ = VideoState::Playing;
        startedMs_ = library_.nowMs;
    }
    void Fail(const char* why) {
        state_ = VideoState::CannotPlay;
        failure_ = why;
    }

    FakeVideoLibrary& library_;
    FakeVideo video_;
    std::string path_, failure_;
    bool playRequested_ = false;
    std::uint64_t startedMs_ = 0;
    VideoState state_ = VideoState::Idle;
};

} // namespace lumivane::test
