// TfrmScreen (see fScreen.h).
#include "saver/fScreen.h"

#include <cmath>
#include <cstdlib>

#include "config/ConfigFile.h"
#include "saver/FlashInfo.h"
#include "saver/MoveSkip.h"

namespace lumivane {

void TfrmScreen::FormCreate() {
    loadedList_.clear();
    {
        TConfigFile file(sv_.profile, sv_.configPath);
        ActiveList active = LoadActiveList(file);
        listKind_ = active.listKind;
        loadedList_ = std::move(active.entries);
        flashSize_ = active.flashSize;
        if (listKind_ == 0)
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
    if (listKind_ != 0)
        SetupFlashLoop();
}

bool TfrmScreen::PickRandomFile() {
    const std::uint64_t n = loadedList_.size();
    if (n == 0)
        return false;
    // Seeded once per pick and advanced per draw: reseeding from the clock before
    // every draw would repeat the same index within one clock tick.
    const TimeOfDay t = sv_.clock.UtcTimeOfDay();
    std::uint32_t seed = static_cast<std::uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond);
    for (int draw = 0; draw < 5; ++draw) {
        seed = seed * 134775813u + 1u;
        const auto index = static_cast<std::size_t>((static_cast<std::uint64_t>(seed) * n) >> 32);
        if (sv_.files.FileExists(loadedList_[index])) {
            pickedFile_ = loadedList_[index];
            return true;
        }
    }
    return false;
}

void TfrmScreen::StartRandomEntry() {
    if (listKind_ == 0)
        StartScreenSaver();
    else if (listKind_ == 1)
        StartFlash();
    gMoveSkipCount = 5;
}

void TfrmScreen::StartScreenSaver() {
    if (PickRandomFile())
        sv_.shell.Execute("open", pickedFile_, "s");
    else
        ShowWarning(sv_.dialogs, kNotFoundWarning);
}

FlashControl& TfrmScreen::Flash() {
    if (!flash_)
        flash_ = &view_.flashHost.CreateFlash();
    return *flash_;
}

// A half rounded to the nearest integer, ties to the even neighbour.
static int RoundHalf(double value) { return static_cast<int>(std::nearbyint(value)); }

void TfrmScreen::StartFlash() {
    FlashControl& flash = Flash();
    if (flash.Playing())
        return;
    if (!PickRandomFile()) {
        ShowWarning(sv_.dialogs, kNotFoundWarning);
        return;
    }
    flash.SetMovie(pickedFile_);
    if (flashSize_) {
        TFlashInfo info(sv_.files);
        const std::string header = info.ReadHeader(pickedFile_);
        const int w = static_cast<int>(TFlashInfo::GetWidth(header));
        const int h = static_cast<int>(TFlashInfo::GetHeight(header));
        // The panel wraps the control exactly (auto-size, no border).
        flash.SetBounds({0, 0, w, h});
        flash.Zoom(0);
        const int left = RoundHalf(view_.screenWidth / 2.0 - w / 2.0);
        const int top = RoundHalf(view_.screenHeight / 2.0 - h / 2.0);
        view_.palFlash.SetBounds({left, top, w, h});
    } else {
        const Rect client = view_.window.ClientRect();
        const Rect panel{0, kStripHeight, client.width, std::max(0, client.height - kStripHeight)};
        view_.palFlash.SetBounds(panel);
        flash.SetBounds({0, 0, panel.width, panel.height});
        flash.SetScaleMode(0);
    }
    flash.Repaint();
    flash.SetVisible(true);
    flash.Play();
}

void TfrmScreen::SetupFlashLoop() {
    Flash().SetLoop(true);
    view_.loopTimer.SetInterval(2000);
    view_.loopTimer.SetEnabled(true);
}

void TfrmScreen::loopTimerTimer() {
    // With the screensaver list no player exists, so there is nothing to restart.
    if (closing_ || !flash_)
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

void TfrmScreen::FormMouseDown() { CloseOnce(); }

void TfrmScreen::FormKeyDown() { CloseOnce(); }

void TfrmScreen::CloseOnce() {
    if (closing_)
        return;
    closing_ = true;
    view_.window.Close();
}

void TfrmScreen::FormClose() {
    closing_ = true;
    loadedList_.clear();
    loadedList_.shrink_to_fit();
}

} // namespace lumivane
