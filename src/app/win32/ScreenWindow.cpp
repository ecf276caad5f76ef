// The native screen window (see ScreenWindow.h).
#include "app/win32/ScreenWindow.h"

#include "common/HelpText.h"
#include "platform/win32/Win32FlashHost.h"

namespace lumivane::win32 {

namespace {

constexpr char kClassName[] = "TfrmScreen";
constexpr UINT_PTR kLoopTimerId = 1;

// The stock black brush belongs to the system: nothing to release, and the
// window class may keep it for the life of the process.
HBRUSH Black() {
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

} // namespace

ScreenWindow::ScreenWindow(Application& app, ScreenServices services) : app_(app), services_(std::move(services)) {}

ScreenWindow::~ScreenWindow() {
    form_.reset();
    flashHost_.reset(); // the control goes before its panel
    palFlash_.reset();
    strip_.reset();
    DestroyNative(); // before the font its label uses
}

void ScreenWindow::Show() {
    HINSTANCE instance = app_.Instance();
    RegisterClassOnce(instance, kClassName, Black(), LoadIconA(instance, MAKEINTRESOURCEA(1)));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CreateNative(app_, kClassName, "Lumivane", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, 0, 0, screenWidth,
                 screenHeight, nullptr);

    // The help text label eats its own mouse input (SS_NOTIFY), so moves and clicks
    // over it do not close the window.
    introFont_ = MakeFont("MS Sans Serif", 16, false, true);
    HWND label = CreateChecked(app_, 0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
                               Scale(48), Scale(64), 10, 10, Handle(), 100);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(introFont_.Get()), FALSE);
    SetWindowTextA(label, "txtIntro");
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

    const RECT panelBounds{Scale(624), Scale(248), Scale(624 + 313), Scale(248 + 249)};
    palFlash_ = std::make_unique<Panel>(app_, Handle(), panelBounds, RGB(0, 0, 0));
    palFlashAdapter_.Attach(palFlash_->Handle());

    loopTimer_ = std::make_unique<TimerAdapter>(Handle(), kLoopTimerId, 1000, true);
    flashHost_ =
        std::make_unique<Win32FlashHost>(palFlash_->Handle(), Rect{Scale(64), Scale(32), Scale(192), Scale(192)});

    form_ = std::make_unique<TfrmScreen>(services_, ScreenView{.window = *this,
                                                               .txtIntro = txtIntro_,
                                                               .palFlash = palFlashAdapter_,
                                                               .loopTimer = *loopTimer_,
                                                               .flashHost = *flashHost_,
                                                               .screenWidth = screenWidth,
                                                               .screenHeight = screenHeight});
    app_.Guard([&] { form_->FormCreate(); });

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
        return 0;
    case WM_CLOSE:
        if (form_)
            app_.Guard([&] { form_->FormClose(); });
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        KillTimer(Handle(), kLoopTimerId);
        PostQuitMessage(0);
        return 0;
    default:
        return NativeWindow::HandleMessage(message, wParam, lParam);
    }
}

} // namespace lumivane::win32
