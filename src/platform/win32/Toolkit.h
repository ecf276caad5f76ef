// The small windowing toolkit the native windows are built on: the application
// (title, error box around every handler, message loop), a window base with one
// trampoline per window class, DPI scaling, fonts, and adapters that implement
// the widget contracts over native controls.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "platform/MessagePump.h"
#include "platform/Widgets.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Dialogs.h"

namespace lumivane::win32 {

class Application : public MessagePump {
public:
    Application(HINSTANCE instance, std::string title) : instance_(instance), title_(std::move(title)) {}

    HINSTANCE Instance() const { return instance_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    Win32Dialogs& GetDialogs() { return dialogs_; }

    // Runs an event handler inside the toolkit's catch point: an error that
    // escapes it ends that handler and is shown in the error box, captioned with
    // the title; the window goes on running. Whatever is thrown stops here, so no
    // exception unwinds into the system's code that called the handler.
    template <class Handler> void Guard(Handler&& handler) noexcept {
        try {
            handler();
        } catch (...) {
            ShowError();
        }
    }

    // A window may look at each message before it is dispatched (dialog keys,
    // menu shortcuts); returning true swallows it.
    void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }

    // What the main loop does with an error that escaped a window procedure:
    // raise it to the process-level handler, or show it in the error box and go
    // on. Configure mode shows it: the window stays, and closing it still keeps
    // the lists the user edited.
    enum class EscapedErrors { Raise, Show };
    // Runs the message loop until the main window posts WM_QUIT.
    void Run(EscapedErrors escaped = EscapedErrors::Raise);
    // Dispatches every message already queued for this thread and returns.
    void ProcessMessages() override;
    void WaitForMessages(unsigned milliseconds) override;

    // An error that escaped a window procedure, hook or callback is caught at that
    // edge, where the system's own code would have to unwind it, and kept here.
    // The loop that dispatched the message raises it again, so it reaches the
    // handler around that loop: for the main loop, the process-level one or the
    // error box (see Run).
    void Defer(std::exception_ptr error);
    bool HasDeferred() const { return deferred_ != nullptr; }
    void RaiseDeferred();

private:
    void Dispatch(MSG& msg);
    // The error box for the error in flight.
    void ShowError() noexcept;

    HINSTANCE instance_;
    std::string title_;
    Win32Dialogs dialogs_;
    std::function<bool(MSG&)> filter_;
    std::exception_ptr deferred_;
};

// CreateWindowEx that raises EOSError naming the call when the window cannot be
// made (or the error its creation messages raised), instead of handing back NULL.
HWND CreateChecked(Application& app, DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id = 0, void* param = nullptr);

// Pixels at 96 DPI to pixels on this screen.
int Scale(int pixels);
// A font of the given height in pixels at 96 DPI (scaled), or in points when
// points is true. "MS Sans Serif" falls back to the system's dialog font.
Font MakeFont(const char* face, int size, bool points, bool bold);

// Base of every native window: registers its class once and routes messages to
// the object through the pointer handed over at WM_NCCREATE.
class NativeWindow {
public:
    virtual ~NativeWindow();
    NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    static void RegisterClassOnce(HINSTANCE instance, const char* className, HBRUSH background, HICON icon,
                                  UINT style = 0);
    void CreateNative(Application& app, const char* className, const char* caption, DWORD style, DWORD exStyle, int x,
                      int y, int width, int height, HWND parent);
    // Destroys the window now, while the objects it draws with still exist.
    void DestroyNative();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    Application* app_ = nullptr;
    HWND hwnd_ = nullptr;
};

// The program's entry on the taskbar: a window of no size with the application
// title that owns the main window, so that the entry reads the title while the
// main window keeps its caption (and goes without WS_EX_APPWINDOW). Activating
// it (a click on the entry) passes the activation on to the main window or the
// box in front of it; closing it (the entry's menu) closes the main window.
class TaskbarWindow : public NativeWindow {
public:
    TaskbarWindow(Application& app, const std::string& title);
    void SetMainWindow(HWND main) { main_ = main; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND main_ = nullptr;
};

// A top-level window that a form's logic drives: closing goes through the
// message loop, as the toolkit's Close does.
class FormWindow : public NativeWindow, public Window {
public:
    void Close() override { PostMessageW(Handle(), WM_CLOSE, 0, 0); }
    void BringToForeground() override { SetForegroundWindow(Handle()); }
    void ShowCursor() override { ::ShowCursor(TRUE); }
    Rect ClientRect() const override {
        RECT rc{};
        GetClientRect(Handle(), &rc);
        return {0, 0, rc.right, rc.bottom};
    }
};

// A plain panel ("TPanel"): paints its colour and can pass its mouse input on.
class Panel : public NativeWindow {
public:
    struct Mouse {
        std::function<void(int x, int y)> move;
        std::function<void()> down;
        std::function<void()> up;
    };
    Panel(Application& app, HWND parent, const RECT& bounds, COLORREF colour, Mouse mouse = {});

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Brush brush_;
    Mouse mouse_;
};

// Puts a handler of ours in front of a native control's own window procedure.
// The hook sits in the control's user data: comctl32's SetWindowSubclass (and a
// tooltip's TTF_SUBCLASS) keep their chain in a window property, which Wine
// fetches from its server on every message, about 80 microseconds each, so that
// filling a list of 1,000 rows cost more than starting the program.
class ControlHook {
public:
    // Returns the result of a message it has answered, or nothing to pass the
    // message on to the control.
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    ControlHook() = default;
    ControlHook(const ControlHook&) = delete;
    ControlHook& operator=(const ControlHook&) = delete;
    ~ControlHook() { Detach(); }

    void Attach(Application& app, HWND control, Handler handler);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Detach();

    Application* app_ = nullptr;
    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    Handler handler_;
};

// Control over any child window.
template <class Base> class ControlAdapter : public Base {
public:
    explicit ControlAdapter(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND Handle() const { return hwnd_; }

    void SetVisible(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
    bool Visible() const override { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
    void SetBounds(const Rect& r) override { MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE); }
    Rect Bounds() const override {
        RECT rc{};
        GetWindowRect(hwnd_, &rc);
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
        return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    }

protected:
    HWND hwnd_;
};

// A static text that sizes itself to its caption.
class LabelAdapter : public ControlAdapter<Label> {
public:
    using ControlAdapter::ControlAdapter;
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
};

// A window timer (WM_TIMER with the given id on the owner window), killed when
// the adapter goes; a window that goes first takes its timers with it.
class TimerAdapter : public Timer {
public:
    TimerAdapter(HWND owner, UINT_PTR id, unsigned interval, bool enabled);
    ~TimerAdapter() override { KillTimer(owner_, id_); }
    TimerAdapter(const TimerAdapter&) = delete;
    TimerAdapter& operator=(const TimerAdapter&) = delete;
    void SetInterval(unsigned milliseconds) override;
    unsigned Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }

private:
    void Apply();
    HWND owner_;
    UINT_PTR id_;
    unsigned interval_;
    bool enabled_;
};

} // namespace lumivane::win32
