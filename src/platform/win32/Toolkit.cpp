// The windowing toolkit (see Toolkit.h).
#include "platform/win32/Toolkit.h"

#include "common/ErrorText.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Error.h"

namespace lumivane::win32 {

void Application::Run(EscapedErrors escaped) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (escaped == EscapedErrors::Raise) {
            Dispatch(msg);
            continue;
        }
        Guard([&] { Dispatch(msg); });
        // The error box dispatches what comes while it shows, and an error of that
        // is kept: it is shown next, not when some later message comes.
        while (HasDeferred())
            Guard([&] { RaiseDeferred(); });
    }
    if (escaped == EscapedErrors::Show)
        Guard([&] { RaiseDeferred(); }); // the box's own loop may have met the quit
}

void Application::WaitForMessages(unsigned milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Application::Dispatch(MSG& msg) {
    if (filter_ && filter_(msg)) {
        RaiseDeferred();
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    RaiseDeferred();
}

void Application::ShowError() noexcept {
    try {
        dialogs_.ShowBox(title_, HandlerErrorText(), BoxIcon::Error);
    } catch (...) {
        // No memory left even for the box: the handler has ended all the same.
    }
}

void Application::Defer(std::exception_ptr error) {
    // The first error is the one to report; what follows is usually its echo.
    if (!deferred_)
        deferred_ = std::move(error);
}

void Application::RaiseDeferred() {
    if (deferred_)
        std::rethrow_exception(std::exchange(deferred_, nullptr));
}

HWND CreateChecked(Application& app, DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id, void* param) {
    HWND hwnd = CreateWindowExW(exStyle, W(Wide(className)), W(Wide(text ? text : "")), style, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.Instance(), param);
    const DWORD code = GetLastError();
    app.RaiseDeferred();
    if (!hwnd) {
        SetLastError(code);
        RaiseLastError((std::string("CreateWindowEx(") + className + ")").c_str());
    }
    return hwnd;
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Dispatch(msg);
    }
}

namespace {

// The system DPI is fixed for the life of a process that declares itself DPI
// aware, so it is asked once: a screen device context costs a trip to the
// display driver (under Wine, several to its server).
int ScreenDpi() {
    static const int dpi = [] {
        const WindowDc screen(nullptr);
        const int caps = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
        return caps > 0 ? caps : 96;
    }();
    return dpi;
}

} // namespace

int Scale(int pixels) {
    return MulDiv(pixels, ScreenDpi(), 96);
}

Font MakeFont(const char* face, int size, bool points, bool bold) {
    const int height = points ? -MulDiv(size, ScreenDpi(), 72) : -Scale(size);
    return Font(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                            W(Wide(face))));
}

// NativeWindow ---------------------------------------------------------------------

NativeWindow::~NativeWindow() {
    DestroyNative();
}

void NativeWindow::DestroyNative() {
    if (HWND hwnd = std::exchange(hwnd_, nullptr)) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
}

void NativeWindow::RegisterClassOnce(HINSTANCE instance, const char* className, HBRUSH background, HICON icon,
                                     UINT style) {
    const std::u16string name = Wide(className);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, W(name), &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &NativeWindow::Trampoline;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = W(name);
    if (!RegisterClassExW(&wc))
        RaiseLastError("RegisterClassEx");
}

void NativeWindow::CreateNative(Application& app, const char* className, const char* caption, DWORD style,
                                DWORD exStyle, int x, int y, int width, int height, HWND parent) {
    app_ = &app;
    CreateChecked(app, exStyle, className, caption, style, x, y, width, height, parent, 0, this);
}

LRESULT NativeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK NativeWindow::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<NativeWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->app_->Defer(std::current_exception());
        // A window whose creation failed is not made at all.
        return message == WM_NCCREATE ? FALSE : message == WM_CREATE ? -1 : 0;
    }
}

// ControlHook ------------------------------------------------------------------------
// The W functions keep the control a Unicode window, as it was before the hook.

void ControlHook::Attach(Application& app, HWND control, Handler handler) {
    Detach();
    app_ = &app;
    handler_ = std::move(handler);
    hwnd_ = control;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlHook::Proc)));
}

void ControlHook::Detach() {
    if (!hwnd_)
        return;
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
    hwnd_ = nullptr;
}

LRESULT CALLBACK ControlHook::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<ControlHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const WNDPROC original = self->original_;
    if (message == WM_NCDESTROY) {
        self->Detach();
    } else {
        try {
            if (const std::optional<LRESULT> result = self->handler_(hwnd, message, wParam, lParam))
                return *result;
        } catch (...) {
            self->app_->Defer(std::current_exception());
            return 0;
        }
    }
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

// TaskbarWindow ----------------------------------------------------------------------

TaskbarWindow::TaskbarWindow(Application& app, const std::string& title) {
    constexpr char kClassName[] = "LumivaneTaskbar";
    HINSTANCE instance = app.Instance();
    RegisterClassOnce(instance, kClassName, nullptr, LoadIconW(instance, MAKEINTRESOURCEW(1)));
    // Shown, or the taskbar leaves it out; of no size, so there is nothing to see.
    // No minimise box: the main window has none either.
    CreateNative(app, kClassName, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS, 0,
                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

LRESULT TaskbarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            // The main window, or the box in front of it while one shows (Wine keeps
            // the last active popup per direct owner, so the chain is followed).
            HWND front = Handle();
            for (int depth = 0; depth < 4 && (front == Handle() || !IsWindowEnabled(front)); ++depth) {
                HWND next = GetLastActivePopup(front);
                if (!next || next == front)
                    break;
                front = next;
            }
            if (front != Handle() && IsWindowVisible(front) && IsWindowEnabled(front))
                SetActiveWindow(front);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (main_ && IsWindowEnabled(main_))
            PostMessageW(main_, WM_CLOSE, 0, 0);
        return 0;
    default:
        break;
    }
    return NativeWindow::HandleMessage(message, wParam, lParam);
}

// Panel ------------------------------------------------------------------------------

Panel::Panel(Application& app, HWND parent, const RECT& bounds, COLORREF colour, Mouse mouse)
    : brush_(CreateSolidBrush(colour)), mouse_(std::move(mouse)) {
    RegisterClassOnce(app.Instance(), "TPanel", nullptr, nullptr);
    CreateNative(app, "TPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, bounds.left,
                 bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(Handle(), &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush_.Get());
        return 1;
    }
    case WM_MOUSEMOVE:
        if (mouse_.move)
            mouse_.move(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (mouse_.down)
            mouse_.down();
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (mouse_.up)
            mouse_.up();
        return 0;
    default:
        return NativeWindow::HandleMessage(message, wParam, lParam);
    }
}

// Adapters ----------------------------------------------------------------------------

void LabelAdapter::SetCaption(const std::string& caption) {
    const std::u16string text = Wide(caption);
    SetWindowTextW(hwnd_, W(text));
    // Auto-size: the label takes the size of its caption (one blank when empty).
    RECT rc{0, 0, 0, 0};
    {
        const WindowDc dc(hwnd_);
        const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
        const std::u16string measured = text.empty() ? std::u16string(u" ") : text;
        DrawTextW(dc.Get(), W(measured), static_cast<int>(measured.size()), &rc, DT_CALCRECT | DT_NOPREFIX);
    }
    const Rect bounds = Bounds();
    SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(GetParent(hwnd_), nullptr, TRUE);
}

std::string LabelAdapter::Caption() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int n = GetWindowTextW(hwnd_, W(text), length + 1);
    text.resize(static_cast<std::size_t>(n));
    return Narrow(text);
}

TimerAdapter::TimerAdapter(HWND owner, UINT_PTR id, unsigned interval, bool enabled)
    : owner_(owner), id_(id), interval_(interval), enabled_(enabled) {
    Apply();
}

void TimerAdapter::SetInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void TimerAdapter::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void TimerAdapter::Apply() {
    KillTimer(owner_, id_);
    if (enabled_ && interval_ > 0)
        SetTimer(owner_, id_, interval_, nullptr);
}

} // namespace lumivane::win32
