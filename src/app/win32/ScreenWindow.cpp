// The native screen window (see ScreenWindow.h).
#include "app/win32/ScreenWindow.h"

#include "common/HelpText.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FlashHost.h"

namespace lumivane::win32 {

namespace {

constexpr char kClassName[] = "TfrmScreen";
constexpr char kCoverClass[] = "TfrmScreenCover";
constexpr UINT_PTR kLoopTimerId = 1;
constexpr UINT_PTR kChangeTimerId = 2;
// How long a video's open may take before the file counts as one that cannot be
// played: the engine can hang in a truncated file.
constexpr unsigned kVideoOpenLimitMs = 3000;

// The stock black brush belongs to the system: nothing to release, and the
// window class may keep it for the life of the process.
HBRUSH Black() {
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

bool Ours(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return window && pid == GetCurrentProcessId();
}

struct Monitors {
    Application* app;
    std::vector<RECT> others; // every monitor but the primary
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) noexcept {
    auto* monitors = reinterpret_cast<Monitors*>(data);
    try {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY))
            monitors->others.push_back(info.rcMonitor);
        return TRUE;
    } catch (...) {
        monitors->app->Defer(std::current_exception());
        return FALSE;
    }
}

} // namespace

// A black window over one monitor other than the primary. Its input goes on to
// the screen window, the mouse in the screen window's coordinates, so one set of
// rules and one move-skip count serve every monitor.
class ScreenWindow::Cover : public NativeWindow {
public:
    Cover(Application& app, HWND screen, const RECT& monitor) : screen_(screen), monitor_(monitor) {
        RegisterClassOnce(app.Instance(), kCoverClass, Black(), nullptr);
        // Owned by the screen window, so it goes when that one does.
        CreateNative(app, kCoverClass, "", WS_POPUP, 0, monitor.left, monitor.top, monitor.right - monitor.left,
                     monitor.bottom - monitor.top, screen);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(Handle(), screen_, &pt, 1);
            return SendMessageW(screen_, message, wParam, MAKELPARAM(pt.x, pt.y));
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return SendMessageW(screen_, message, wParam, lParam);
        default:
            return NativeWindow::HandleMessage(message, wParam, lParam);
        }
    }

public:
    const RECT& Monitor() const { return monitor_; }

private:
    HWND screen_;
    RECT monitor_;
};

// Low-level keyboard and mouse hooks, kept for the saver's life once a standalone
// player shows the movie: a key while the player has the focus, or a click or a
// move over its window, never reaches our windows, so the hooks hand it to the
// window's rules themselves. They do so at once, not through a posted message:
// a hook runs inside the waits for the player too (they answer it), and a key
// then closes the window and ends those waits. Input bound for our own windows
// is left to them, so that nothing counts twice against the move-skip count and
// the help text still eats clicks.
class ScreenWindow::ForeignInput {
public:
    ForeignInput(Application& app, HWND screen, TfrmScreen& form) : app_(app), screen_(screen), form_(form) {
        active_ = this;
        keyboard_ = Hook(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, app.Instance(), 0));
        mouse_ = Hook(SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, app.Instance(), 0));
        if (!keyboard_ || !mouse_)
            RaiseLastError("SetWindowsHookEx");
    }
    ~ForeignInput() { active_ = nullptr; }
    ForeignInput(const ForeignInput&) = delete;
    ForeignInput& operator=(const ForeignInput&) = delete;

private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
        if (code == HC_ACTION && active_ && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
            active_->Pass([](ForeignInput& self) {
                if (!Ours(GetForegroundWindow()))
                    self.form_.FormKeyDown();
            });
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
        if (code == HC_ACTION && active_) {
            const POINT pt = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
            active_->Pass([&](ForeignInput& self) {
                if (Ours(WindowFromPoint(pt)))
                    return;
                if (wParam == WM_MOUSEMOVE) {
                    POINT client = pt;
                    ScreenToClient(self.screen_, &client);
                    self.form_.FormMouseMove(client.x, client.y);
                } else if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN) {
                    self.form_.FormMouseDown();
                }
            });
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // No box inside a hook: the input of the whole PC waits for it. The error is
    // kept for the loop, as a window procedure's is.
    template <class Body> void Pass(Body&& body) noexcept {
        try {
            body(*this);
        } catch (...) {
            app_.Defer(std::current_exception());
        }
    }

    // Hook procedures get no context of their own; a process has one screen window.
    static inline ForeignInput* active_ = nullptr;
    Application& app_;
    HWND screen_;
    TfrmScreen& form_;
    Hook keyboard_, mouse_;
};

ScreenWindow::ScreenWindow(Application& app, ScreenServices services) : app_(app), services_(std::move(services)) {}

ScreenWindow::~ScreenWindow() {
    foreignInput_.reset();
    form_.reset();      // ends a player that still runs
    videoPlayers_.clear();
    Win32VideoPlayer::SettleWorkers(1000);
    flashHost_.reset(); // the control goes before its panel
    palFlash_.reset();
    strip_.reset();
    covers_.clear();
    DestroyNative(); // before the font its label uses
}

void ScreenWindow::Show() {
    HINSTANCE instance = app_.Instance();
    RegisterClassOnce(instance, kClassName, Black(), LoadIconW(instance, MAKEINTRESOURCEW(1)));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Not always-on-top: a started screensaver that is not must still show above
    // it. Shown before that start, and active, it covers the taskbar until then.
    CreateNative(app_, kClassName, app_.Title().c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, screenWidth, screenHeight,
                 nullptr);
    CoverOtherMonitors();

    // The help text label eats its own mouse input (SS_NOTIFY), so moves and clicks
    // over it do not close the window.
    introFont_ = MakeFont("MS Sans Serif", 16, false, true);
    HWND label = CreateChecked(app_, 0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
                               Scale(48), Scale(64), 10, 10, Handle(), 100);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(introFont_.Get()), FALSE);
    txtIntro_.Attach(label);
    txtIntro_.SetCaption(HelpText());

    // The strip is created before the Flash panel so that it stays above it: a
    // movie larger than the screen must not cover the strip's mouse input.
    Panel::Mouse stripMouse;
    stripMouse.move = [this](int x, int y) { app_.Guard([&] { form_->FormMouseMove(x, y); }); };
    stripMouse.down = [this] { app_.Guard([&] { form_->FormMouseDown(); }); };
    stripMouse.up = stripMouse.down;
    strip_ =
        std::make_unique<Panel>(app_, Handle(), RECT{0, 0, screenWidth, Scale(kStripHeight)}, RGB(0, 0, 0), stripMouse);
    stripAdapter_.Attach(strip_->Handle());

    const RECT panelBounds{Scale(624), Scale(248), Scale(624 + 313), Scale(248 + 249)};
    palFlash_ = std::make_unique<Panel>(app_, Handle(), panelBounds, RGB(0, 0, 0));
    palFlashAdapter_.Attach(palFlash_->Handle());

    loopTimer_ = std::make_unique<TimerAdapter>(Handle(), kLoopTimerId, 1000, true);
    changeTimer_ = std::make_unique<TimerAdapter>(Handle(), kChangeTimerId, 0, false);
    flashHost_ =
        std::make_unique<Win32FlashHost>(palFlash_->Handle(), Rect{Scale(64), Scale(32), Scale(192), Scale(192)});

    form_ = std::make_unique<TfrmScreen>(services_, ScreenView{.window = *this,
                                                               .txtIntro = txtIntro_,
                                                               .strip = stripAdapter_,
                                                               .palFlash = palFlashAdapter_,
                                                               .loopTimer = *loopTimer_,
                                                               .changeTimer = *changeTimer_,
                                                               .flashHost = *flashHost_,
                                                               .videos = *this,
                                                               .screenWidth = screenWidth,
                                                               .screenHeight = screenHeight,
                                                               .stripHeight = Scale(kStripHeight)});
    app_.Guard([&] { form_->FormCreate(); });
    ShowNow();
    if (form_->PlaysInPlayer())
        foreignInput_ = std::make_unique<ForeignInput>(app_, Handle(), *form_);
}

void ScreenWindow::CoverOtherMonitors() {
    Monitors monitors{&app_, {}};
    EnumDisplayMonitors(nullptr, nullptr, &AddOtherMonitor, reinterpret_cast<LPARAM>(&monitors));
    app_.RaiseDeferred();
    for (const RECT& monitor : monitors.others)
        covers_.push_back(std::make_unique<Cover>(app_, Handle(), monitor));
}

std::vector<VideoSurface> ScreenWindow::Surfaces() {
    if (videoPlayers_.empty()) {
        videoPlayers_.push_back(std::make_unique<Win32VideoPlayer>(Handle(), kVideoOpenLimitMs));
        for (const auto& cover : covers_)
            videoPlayers_.push_back(std::make_unique<Win32VideoPlayer>(cover->Handle(), kVideoOpenLimitMs));
    }
    std::vector<VideoSurface> surfaces{{videoPlayers_[0].get(), Rect{0, 0, GetSystemMetrics(SM_CXSCREEN),
                                                                     GetSystemMetrics(SM_CYSCREEN)}}};
    for (std::size_t i = 0; i < covers_.size(); ++i) {
        const RECT& m = covers_[i]->Monitor();
        surfaces.push_back({videoPlayers_[i + 1].get(), Rect{m.left, m.top, m.right - m.left, m.bottom - m.top}});
    }
    return surfaces;
}

void ScreenWindow::ShowNow() {
    if (IsWindowVisible(Handle()))
        return;
    for (const auto& cover : covers_)
        ShowWindow(cover->Handle(), SW_SHOWNOACTIVATE);
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    UpdateWindow(Handle());
    // As a form does on activation, the first visible child that takes the focus
    // gets it: the Flash control when it shows, so keys go to the player.
    HWND flash = GetWindow(palFlash_->Handle(), GW_CHILD);
    if (flash && IsWindowVisible(palFlash_->Handle()) && IsWindowVisible(flash) && IsWindowEnabled(flash))
        SetFocus(flash);
    else
        SetFocus(Handle());
}

LRESULT ScreenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(Black());
    }
    case WM_MOUSEMOVE:
        if (form_)
            app_.Guard(
                [&] { form_->FormMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); });
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (form_)
            app_.Guard([&] { form_->FormMouseDown(); });
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Tab and Shift+Tab without Ctrl or Alt move the focus (there is nowhere to
        // move it), so they do not close the window.
        if (wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && !(message == WM_SYSKEYDOWN))
            return 0;
        if (form_)
            app_.Guard([&] { form_->FormKeyDown(); });
        return 0;
    case WM_TIMER:
        if (wParam == kLoopTimerId && form_)
            app_.Guard([&] { form_->loopTimerTimer(); });
        else if (wParam == kChangeTimerId && form_)
            app_.Guard([&] { form_->changeTimerTimer(); });
        return 0;
    case WM_CLOSE:
        // The hooks go first: the window has closed, and input that comes while
        // FormClose waits for the player has nothing left to do here.
        foreignInput_.reset();
        if (form_)
            app_.Guard([&] { form_->FormClose(); });
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return NativeWindow::HandleMessage(message, wParam, lParam);
    }
}

} // namespace lumivane::win32
