// The native screen window of saver mode: a borderless black window over the
// whole primary screen, with the help text, the input strip along the top and
// the Flash panel, hosting the TfrmScreen logic; a black cover over every other
// monitor; and, while a standalone player shows the movie, hooks that pass the
// input the player gets on to the window's rules.
#pragma once

#include <memory>
#include <vector>

#include "platform/FlashControl.h"
#include "platform/win32/Toolkit.h"
#include "saver/fScreen.h"

namespace lumivane::win32 {

class ScreenWindow : public FormWindow {
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

    Application& app_;
    ScreenServices services_;
    Font introFont_;
    std::unique_ptr<Panel> strip_;    // Panel1
    std::unique_ptr<Panel> palFlash_; // holds the Flash control
    LabelAdapter txtIntro_;
    ControlAdapter<Control> palFlashAdapter_;
    std::unique_ptr<TimerAdapter> loopTimer_;
    std::unique_ptr<TimerAdapter> changeTimer_;
    std::unique_ptr<FlashHost> flashHost_;
    std::unique_ptr<TfrmScreen> form_;
    std::vector<std::unique_ptr<Cover>> covers_;
    std::unique_ptr<ForeignInput> foreignInput_;
};

} // namespace lumivane::win32
