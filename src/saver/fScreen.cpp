// TfrmScreen (see fScreen.h).
#include "saver/fScreen.h"

#include <cmath>
#include <cstdlib>

#include "common/Errors.h"
#include "config/ConfigFile.h"
#include "saver/FlashInfo.h"
#include "saver/MoveSkip.h"
#include "saver/Rotation.h"

namespace lumivane {

namespace {

// The pick's acceptance when finding an existing file is enough.
constexpr auto kAnyFile = [](const std::string&) { return true; };

} // namespace

void TfrmScreen::FormCreate() {
    loadedList_.clear();
    {
        TConfigFile file(services_.profile, services_.configPath, services_.clock);
        std::optional<ActiveList> loaded = LoadActiveList(file);
        // A file held past the retries is said so, as a list of missing files is,
        // rather than taken for an empty list.
        if (!loaded)
            ShowWarning(services_.dialogs, "Unable to read " + file.Path() + ".");
        ActiveList active = std::move(loaded).value_or(ActiveList{});
        listKind_ = active.listKind;
        loadedList_ = std::move(active.entries);
        flashSize_ = active.flashSize;
        variety_ = active.variety;
        video_ = active.video;
        if (listKind_ == 0 || listKind_ == kVideoKind)
            view_.palFlash.SetVisible(false);
        else if (listKind_ == 1 && active.count > 0)
            view_.palFlash.SetVisible(true);
    }
    view_.window.BringToForeground();
    if (!loadedList_.empty()) {
        view_.txtIntro.SetCaption("");
        StartRandomEntry();
    } else {
        gMoveSkipCount = 5;
    }
    if (listKind_ != 0 && listKind_ != kVideoKind)
        SetupFlashLoop();
    if (videos_) {
        // The players open their files without blocking: their progress is
        // followed at this pace.
        view_.loopTimer.SetInterval(100);
        view_.loopTimer.SetEnabled(true);
    }
    if (variety_.changeEvery > 0 && (started_ || player_ || videos_ || (flash_ && !pickedFile_.empty()))) {
        view_.changeTimer.SetInterval(static_cast<unsigned>(variety_.changeEvery) * 60000u);
        view_.changeTimer.SetEnabled(true);
    }
}

std::uint32_t TfrmScreen::ClockSeed() {
    const TimeOfDay t = services_.clock.UtcTimeOfDay();
    return static_cast<std::uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond);
}

std::size_t TfrmScreen::RandomIndex(std::uint32_t& seed, std::size_t n) {
    seed = seed * 134775813u + 1u;
    return static_cast<std::size_t>((static_cast<std::uint64_t>(seed) * n) >> 32);
}

bool TfrmScreen::PickRandomFile() {
    return PickRandomFile(kAnyFile);
}

bool TfrmScreen::PickRandomFile(FunctionRef<bool(const std::string&)> take) {
    if (variety_.noRepeat)
        return PickFromRound(take);
    const std::size_t n = loadedList_.size();
    if (n == 0)
        return false;
    // Seeded once per pick and advanced per draw: reseeding from the clock before
    // every draw would repeat the same index within one clock tick.
    std::uint32_t seed = ClockSeed();
    for (int draw = 0; draw < 5; ++draw) {
        const std::size_t index = RandomIndex(seed, n);
        if (services_.files.FileExists(loadedList_[index]) && take(loadedList_[index])) {
            pickedFile_ = loadedList_[index];
            return true;
        }
    }
    return false;
}

bool TfrmScreen::DrawFrom(std::vector<std::string> candidates, FunctionRef<bool(const std::string&)> take) {
    std::uint32_t seed = ClockSeed();
    for (int draw = 0; draw < 5 && !candidates.empty(); ++draw) {
        const std::size_t index = RandomIndex(seed, candidates.size());
        if (take(candidates[index])) {
            pickedFile_ = candidates[index];
            return true;
        }
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return false;
}

std::vector<std::string> TfrmScreen::ExistingEntries() {
    std::vector<std::string> existing;
    for (const std::string& entry : loadedList_)
        if (services_.files.FileExists(entry))
            existing.push_back(entry);
    return existing;
}

bool TfrmScreen::PickFromRound(FunctionRef<bool(const std::string&)> take) {
    const std::vector<std::string> existing = ExistingEntries();
    TConfigFile roundFile(services_.profile, RoundPathFor(services_.configPath), services_.clock);
    PlayedRound round = LoadRound(roundFile, listKind_);
    if (!DrawFrom(RoundCandidates(existing, round), take))
        return false;
    KeepInRound(roundFile, round, pickedFile_);
    return true;
}

void TfrmScreen::KeepInRound(TConfigFile& roundFile, PlayedRound& round, const std::string& entry) {
    RecordPlay(round, entry);
    try {
        SaveRound(roundFile, listKind_, round);
    } catch (const EIniFileException&) {
        // A round that cannot be kept (a read-only folder) only lets an entry
        // come round again sooner; the saver itself runs on.
    }
}

std::vector<std::string> TfrmScreen::VideoEntries() {
    if (!variety_.noRepeat)
        return loadedList_;
    return RoundCandidates(ExistingEntries(), videoRound_);
}

// Every monitor that shows a video keeps what it plays in the round.
void TfrmScreen::StartVideos() {
    if (variety_.noRepeat) {
        TConfigFile roundFile(services_.profile, RoundPathFor(services_.configPath), services_.clock);
        videoRound_ = LoadRound(roundFile, listKind_);
    }
    videoSeed_ = ClockSeed();
    videos_ = std::make_unique<VideoWall>(
        view_.videos.Surfaces(), video_, services_.files,
        [this](std::size_t n) { return RandomIndex(videoSeed_, n); },
        [this](const std::string& path) {
            pickedFile_ = path;
            if (!variety_.noRepeat)
                return;
            TConfigFile roundFile(services_.profile, RoundPathFor(services_.configPath), services_.clock);
            KeepInRound(roundFile, videoRound_, path);
        });
    view_.strip.SetVisible(false);
    view_.window.ShowNow();
    videos_->Start(VideoEntries());
    FollowVideos();
}

void TfrmScreen::FollowVideos() {
    if (videos_->Tick())
        ShowWarning(services_.dialogs, kNotFoundWarning);
}

void TfrmScreen::StartRandomEntry() {
    if (listKind_ == 0)
        StartScreenSaver();
    else if (listKind_ == 1)
        StartFlash();
    else if (listKind_ == kVideoKind)
        StartVideos();
    gMoveSkipCount = 5;
}

void TfrmScreen::StartScreenSaver() {
    // A saver that cannot be started is a failed draw, as a missing one is: the
    // shell takes no path past 260 characters, and one without a short name
    // would otherwise leave the window black with nothing said.
    const bool started = PickRandomFile([&](const std::string& file) {
        // Shown first, so that the started saver's window opens above ours even
        // when it is not always-on-top.
        view_.window.ShowNow();
        return StartSaver(file);
    });
    if (!started)
        ShowWarning(services_.dialogs, kNotFoundWarning);
}

bool TfrmScreen::StartSaver(const std::string& file) {
    // A saver that is to be replaced is started so that it can be ended.
    if (variety_.changeEvery == 0)
        return services_.shell.Execute("open", file, "s");
    started_ = services_.shell.Start(file, "s");
    return started_ != nullptr;
}

FlashControl* TfrmScreen::TryFlash() {
    if (!flash_ && !noControl_) {
        try {
            flash_ = &view_.flashHost.CreateFlash();
        } catch (const EOleSysError&) {
            // "Class not registered" on every Windows since the control was withdrawn.
            noControl_ = true;
        }
    }
    return flash_;
}

namespace {

// A half rounded to the nearest integer, ties to the even neighbour.
int RoundHalf(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

// Where the movie shows: at its own size centred on the screen, or stretched
// over the window below the strip. Reads the movie's header for its own size.
Rect TfrmScreen::MoviePlace() {
    if (flashSize_) {
        TFlashInfo info(services_.files);
        const std::string header = info.ReadHeader(pickedFile_);
        const int w = static_cast<int>(TFlashInfo::GetWidth(header));
        const int h = static_cast<int>(TFlashInfo::GetHeight(header));
        return {RoundHalf(view_.screenWidth / 2.0 - w / 2.0), RoundHalf(view_.screenHeight / 2.0 - h / 2.0), w, h};
    }
    // The strip is drawn at the screen's DPI: at 144 DPI it is 50 pixels high, and
    // a panel starting at 33 would hide the movie's top rows under it.
    const Rect client = view_.window.ClientRect();
    return {0, view_.stripHeight, client.width, std::max(0, client.height - view_.stripHeight)};
}

void TfrmScreen::StartFlash() {
    FlashControl* flash = TryFlash();
    if (flash && flash->Playing())
        return;
    if (!PickRandomFile()) {
        ShowWarning(services_.dialogs, kNotFoundWarning);
        return;
    }
    PlayPickedMovie();
}

void TfrmScreen::PlayPickedMovie() {
    FlashControl* flash = flash_;
    if (!flash) {
        StartPlayer();
        return;
    }
    flash->SetMovie(pickedFile_);
    const Rect panel = MoviePlace();
    if (flashSize_) {
        // The panel wraps the control exactly (auto-size, no border).
        flash->SetBounds({0, 0, panel.width, panel.height});
        flash->Zoom(0);
        view_.palFlash.SetBounds(panel);
    } else {
        view_.palFlash.SetBounds(panel);
        flash->SetBounds({0, 0, panel.width, panel.height});
        flash->SetScaleMode(0);
    }
    flash->Repaint();
    flash->SetVisible(true);
    flash->Play();
}

void TfrmScreen::StartPlayer() {
    // The player's window is a window of its own: an empty panel would only eat
    // the clicks that close ours.
    view_.palFlash.SetVisible(false);
    if (services_.players.AssociatedPlayer().empty()) {
        ShowWarning(services_.dialogs, kNoPlayerWarning);
        return;
    }
    playerPlace_ = MoviePlace();
    view_.window.ShowNow(); // the player's window must open above ours
    LaunchPlayer();
}

// The waits below answer our input hooks, which apply the input rules at once:
// a key or a click during a wait closes the window, and the wait stops there.

void TfrmScreen::LaunchPlayer() {
    player_ = services_.players.Open(pickedFile_);
    for (unsigned waited = 0; player_ && !closing_ && waited < kPlayerWindowMs; waited += kWaitStepMs)
        if (player_->Place(playerPlace_) || player_->WaitForExit(kWaitStepMs))
            return;
}

void TfrmScreen::EndProcess(std::unique_ptr<StartedProcess>& process) {
    if (!process)
        return;
    process->AskToClose();
    // Closing the window grants the full grace; input that comes while a change
    // ends the old process ends it at once, since the user is back.
    const bool leaving = closing_;
    bool ended = false;
    for (unsigned waited = 0; !ended && (leaving || !closing_) && waited < kPlayerGraceMs; waited += kWaitStepMs)
        ended = process->WaitForExit(kWaitStepMs);
    if (!ended)
        process->Terminate();
    process.reset();
}

bool TfrmScreen::PickNext(FunctionRef<bool(const std::string&)> take) {
    if (variety_.noRepeat)
        return PickFromRound(take);
    // Another entry than the one playing now, when there is one.
    std::vector<std::string> others;
    for (const std::string& entry : loadedList_)
        if (entry != pickedFile_ && services_.files.FileExists(entry))
            others.push_back(entry);
    if (others.empty())
        return services_.files.FileExists(pickedFile_) && take(pickedFile_);
    return DrawFrom(std::move(others), take);
}

void TfrmScreen::changeTimerTimer() {
    if (closing_)
        return;
    if (listKind_ == 0) {
        // A saver that ended before its time (the user came back and it closed
        // itself, or it failed) is not replaced: the window waits for input.
        if (!started_ || !started_->Running()) {
            view_.changeTimer.SetEnabled(false);
            return;
        }
        EndProcess(started_);
        if (!closing_)
            PickNext([&](const std::string& file) { return StartSaver(file); });
    } else if (listKind_ == 1 && (flash_ || player_) && PickNext(kAnyFile)) {
        EndProcess(player_);
        if (!closing_)
            PlayPickedMovie();
    } else if (videos_) {
        videos_->Change(VideoEntries());
        FollowVideos();
    }
}

void TfrmScreen::SetupFlashLoop() {
    if (FlashControl* flash = TryFlash())
        flash->SetLoop(true);
    view_.loopTimer.SetInterval(2000);
    view_.loopTimer.SetEnabled(true);
}

void TfrmScreen::loopTimerTimer() {
    // With the screensaver list no player exists, so there is nothing to restart.
    if (closing_)
        return;
    if (videos_) {
        FollowVideos();
        return;
    }
    // A player that ended by itself is started again with the same movie, as the
    // control's movie is played again when it stops.
    if (player_) {
        if (!player_->Running())
            LaunchPlayer();
        return;
    }
    if (!flash_)
        return;
    if (!flash_->Playing())
        flash_->Play();
}

void TfrmScreen::FormMouseMove(int x, int y) {
    if (closing_)
        return;
    if (gMoveSkipCount > 0) {
        --gMoveSkipCount;
        return;
    }
    if (lastX_ == -1 && lastY_ == -1) {
        lastX_ = x;
        lastY_ = y;
        return;
    }
    if (std::abs(x - lastX_) > 2 && std::abs(y - lastY_) > 2) {
        lastX_ = x;
        lastY_ = y;
        view_.window.ShowCursor();
        CloseOnce();
    }
}

void TfrmScreen::FormMouseDown() {
    CloseOnce();
}

void TfrmScreen::FormKeyDown() {
    CloseOnce();
}

void TfrmScreen::CloseOnce() {
    if (closing_)
        return;
    closing_ = true;
    view_.window.Close();
}

void TfrmScreen::FormClose() {
    closing_ = true;
    EndProcess(player_);
    // Only a saver started with "ChangeEvery" is ours to end; one started plainly
    // closes itself on the same input, as it always did.
    EndProcess(started_);
    if (videos_)
        videos_->Stop();
    loadedList_.clear();
    loadedList_.shrink_to_fit();
}

} // namespace lumivane
