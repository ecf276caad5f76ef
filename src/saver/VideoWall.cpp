// The videos on every monitor (see VideoWall.h).
#include "saver/VideoWall.h"

#include <algorithm>

#include "saver/VideoFit.h"

namespace lumivane {

namespace {

Rect Bounding(const std::vector<VideoSurface>& surfaces) {
    int left = surfaces[0].monitor.left, top = surfaces[0].monitor.top;
    int right = left + surfaces[0].monitor.width, bottom = top + surfaces[0].monitor.height;
    for (const VideoSurface& s : surfaces) {
        left = std::min(left, s.monitor.left);
        top = std::min(top, s.monitor.top);
        right = std::max(right, s.monitor.left + s.monitor.width);
        bottom = std::max(bottom, s.monitor.top + s.monitor.height);
    }
    return {left, top, right - left, bottom - top};
}

} // namespace

VideoWall::VideoWall(std::vector<VideoSurface> surfaces, const VideoOptions& options, FileSystem& files,
                     RandomIndex random, Played played)
    : surfaces_(std::move(surfaces)), sound_(options.sound), files_(files), random_(std::move(random)),
      played_(std::move(played)) {
    if (surfaces_.empty())
        return;
    const VideoMonitors mode = options.monitors;
    switch (mode) {
    case VideoMonitors::SameOnAll:
    case VideoMonitors::OneAcrossAll: {
        Group all;
        const Rect whole = Bounding(surfaces_);
        for (std::size_t i = 0; i < surfaces_.size(); ++i) {
            all.surfaces.push_back(i);
            all.areas.push_back(mode == VideoMonitors::SameOnAll ? surfaces_[i].monitor : whole);
        }
        groups_.push_back(std::move(all));
        break;
    }
    case VideoMonitors::MainOnly:
        groups_.emplace_back().surfaces = {0};
        groups_.back().areas = {surfaces_[0].monitor};
        break;
    case VideoMonitors::EachItsOwn:
    default:
        for (std::size_t i = 0; i < surfaces_.size(); ++i) {
            groups_.emplace_back().surfaces = {i};
            groups_.back().areas = {surfaces_[i].monitor};
        }
        break;
    }
    for (std::size_t i = 0; i < surfaces_.size(); ++i) {
        surfaces_[i].player->SetLoop(true);
        // One sound at most: the primary monitor's, and only when asked for.
        surfaces_[i].player->SetMuted(!sound_ || i != 0);
    }
}

void VideoWall::Start(const std::vector<std::string>& entries) {
    entries_ = entries;
    for (Group& group : groups_) {
        group.draws = 0;
        group.entry.clear();
        Draw(group);
    }
}

// One draw after another until an entry that exists is opening or the draws are
// used up. Entries another monitor shows, and the one this monitor had, are left
// out while others remain.
void VideoWall::Draw(Group& group) {
    std::vector<std::string> busy{group.entry};
    for (const Group& other : groups_)
        if (&other != &group && other.phase != Phase::Failed)
            busy.push_back(other.entry);
    std::vector<std::string> pool;
    for (const std::string& entry : entries_)
        if (std::find(busy.begin(), busy.end(), entry) == busy.end())
            pool.push_back(entry);
    if (pool.empty())
        pool = entries_;
    for (std::size_t i : group.surfaces)
        surfaces_[i].player->Stop();
    group.phase = Phase::Failed;
    while (!pool.empty() && group.draws < kVideoDraws) {
        ++group.draws;
        const std::string entry = pool[random_(pool.size())];
        if (!files_.FileExists(entry))
            continue;
        group.entry = entry;
        group.phase = Phase::Opening;
        for (std::size_t i : group.surfaces)
            surfaces_[i].player->Open(entry);
        return;
    }
}

void VideoWall::Show(Group& group) {
    for (std::size_t n = 0; n < group.surfaces.size(); ++n) {
        VideoPlayer& player = *surfaces_[group.surfaces[n]].player;
        const Rect& monitor = surfaces_[group.surfaces[n]].monitor;
        Rect place = FitVideo(player.NativeSize(), group.areas[n]);
        place.left -= monitor.left; // into the surface's client pixels
        place.top -= monitor.top;
        player.Play(place);
    }
    group.phase = Phase::Showing;
    if (played_)
        played_(group.entry);
}

bool VideoWall::Tick() {
    for (Group& group : groups_) {
        if (group.phase == Phase::Failed)
            continue;
        // The monitors of a group open the same file: the first one speaks for all.
        const VideoState state = surfaces_[group.surfaces.front()].player->State();
        if (state == VideoState::CannotPlay)
            Draw(group);
        else if (group.phase == Phase::Opening && state == VideoState::Ready)
            Show(group);
    }
    const bool none = std::all_of(groups_.begin(), groups_.end(), [](const Group& g) { return g.phase == Phase::Failed; });
    if (!none || warned_ || groups_.empty())
        return false;
    warned_ = true;
    return true;
}

void VideoWall::Change(const std::vector<std::string>& entries) {
    entries_ = entries;
    for (Group& group : groups_) {
        if (group.phase == Phase::Failed)
            continue;
        group.draws = 0;
        Draw(group);
    }
    Tick();
}

void VideoWall::Stop() {
    for (VideoSurface& surface : surfaces_)
        surface.player->Stop();
    for (Group& group : groups_)
        group.phase = Phase::Failed;
    warned_ = true; // stopped, not failed
}

bool VideoWall::Showing() const {
    return std::any_of(groups_.begin(), groups_.end(), [](const Group& g) { return g.phase == Phase::Showing; });
}

} // namespace lumivane
