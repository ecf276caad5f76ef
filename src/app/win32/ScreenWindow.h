// The native screen window of saver mode: a borderless black window over the
// whole primary screen, with the help text, the input strip along the top and
// the Flash panel, hosting the TfrmScreen logic; a black cover over every other
// monitor; a video player on each of them for the Video list; and, while a
// standalone player shows the movie, hooks that pass the input the player gets
// on to the window's rules.
#pragma once

#include <memory>
#include <vector>

#include "platform/FlashControl.h"
#include "platform/win32/Toolkit.h"
#include "platform/win32/Win32VideoPlayer.h"
#include "saver/fScreen.h"

namespace lumivane::win32 {

class ScreenWindow : public FormWindow, private VideoSurfaces {
public:
    ScreenWindow(Application& app, ScreenServices services);
    ~ScreenWindow() override;
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    // Creates the window, runs FormCreate and shows it.
    void Show();
    void ShowNow() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Cover;
    class ForeignInput;
    void CoverOtherMonitors();
    std::vector<VideoSurface> Surfaces() override;

    Application& app_;
    ScreenServices services_;
    Font introFont_;
    std::unique_ptr<Panel> strip_;    // Panel1
    std::unique_ptr<Panel> palFlash_; // holds the Flash control
    LabelAdapter txtIntro_;
    ControlAdapter<Control> palFlashAdapter_;
    ControlAdapter<Control> stripAdapter_;
    std::unique_ptr<TimerAdapter> loopTimer_;
    std::unique_ptr<TimerAdapter> changeTimer_;
    std::unique_ptr<FlashHost> flashHost_;
    std::vector<std::unique_ptr<Win32VideoPlayer>> videoPlayers_; // the primary monitor's first
    std::unique_ptr<TfrmScreen> form_;
    std::vector<std::unique_ptr<Cover>> covers_;
    std::unique_ptr<ForeignInput> foreignInput_;
};

} // namespace lumivane::win32
