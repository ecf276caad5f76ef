// The toolkit's message pump as the search relies on it between sub-folders:
// every message already queued is dispatched through the window procedure, the
// call returns once the queue is empty instead of waiting, and a quit request
// met on the way stays for the main loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "common/Errors.h"

#include "platform/win32/Toolkit.h"
#include "platform/win32/Win32Clock.h"

using namespace lumivane;

namespace {

constexpr UINT kProbe = WM_APP + 7;

std::vector<WPARAM>& Seen() {
    static std::vector<WPARAM> seen;
    return seen;
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) {
        Seen().push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND ProbeWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LumivanePumpProbe";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "LumivanePumpProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

// Whatever earlier tests left queued; dispatched, since a paint request that is
// only removed comes back at once. Bounded, so a window that keeps posting
// fails the test instead of hanging it.
void Drain() {
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

TEST(MessagePumpWin32, DispatchesEveryQueuedMessageInOrderAndReturns) {
    Drain();
    HWND probe = ProbeWindow();
    ASSERT_NE(probe, nullptr);
    Seen().clear();
    win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    MessagePump& pump = app;
    for (WPARAM i = 1; i <= 3; ++i)
        PostMessageA(probe, kProbe, i, 0);
    pump.ProcessMessages();
    EXPECT_EQ(Seen(), (std::vector<WPARAM>{1, 2, 3}));
    // Nothing queued: it returns at once rather than waiting for a message.
    const DWORD start = GetTickCount();
    pump.ProcessMessages();
    EXPECT_LT(GetTickCount() - start, 1000u);
    DestroyWindow(probe);
    Drain();
}

TEST(MessagePumpWin32, AWaitEndsWithItsTimeOrAtTheFirstMessage) {
    Drain();
    HWND probe = ProbeWindow();
    ASSERT_NE(probe, nullptr);
    win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    win32::Win32Clock clock;
    std::uint64_t start = clock.Milliseconds();
    app.WaitForMessages(60);
    // The tick count may step in 10 to 16 ms units, so only most of the wait is sure to show.
    EXPECT_GE(clock.Milliseconds() - start, 40u);
    PostMessageA(probe, kProbe, 1, 0);
    start = clock.Milliseconds();
    app.WaitForMessages(5000);
    EXPECT_LT(clock.Milliseconds() - start, 1000u);
    DestroyWindow(probe);
    Drain();
}

TEST(MessagePumpWin32, AQuitRequestIsLeftForTheMainLoop) {
    Drain();
    HWND probe = ProbeWindow();
    ASSERT_NE(probe, nullptr);
    Seen().clear();
    win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    PostMessageA(probe, kProbe, 1, 0);
    PostQuitMessage(5);
    app.ProcessMessages();
    EXPECT_EQ(Seen(), std::vector<WPARAM>{1});
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    DestroyWindow(probe);
    Drain();
}

namespace {

// A window whose handler fails the way program code can: with one of the
// program's errors or a standard exception.
class ThrowingWindow : public win32::NativeWindow {
public:
    explicit ThrowingWindow(win32::Application& app) {
        RegisterClassOnce(app.Instance(), "LumivaneThrowProbe", nullptr, nullptr);
        CreateNative(app, "LumivaneThrowProbe", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
    }
    int handled = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kProbe)
            return NativeWindow::HandleMessage(message, wParam, lParam);
        ++handled;
        if (wParam == 1)
            throw EInvalidOperation("probe");
        if (wParam == 2)
            throw std::bad_alloc();
        return 0;
    }
};

} // namespace

TEST(MessagePumpWin32, AnErrorInAWindowProcedureIsRaisedByTheLoopThatDispatchedIt) {
    Drain();
    win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    ThrowingWindow window(app);
    PostMessageA(window.Handle(), kProbe, 1, 0);
    PostMessageA(window.Handle(), kProbe, 0, 0);
    EXPECT_THROW(app.ProcessMessages(), EInvalidOperation);
    // The window lives on, and the rest of the queue is still there.
    app.ProcessMessages();
    EXPECT_EQ(window.handled, 2);

    PostMessageA(window.Handle(), kProbe, 2, 0);
    PostQuitMessage(0);
    EXPECT_THROW(app.Run(), std::bad_alloc);
    Drain();
}

namespace {

std::vector<std::string>& Boxes() {
    static std::vector<std::string> boxes;
    return boxes;
}

HWND gOpenBox = nullptr;

// Wine fills in a box's text after activating it: read a moment later, then OK.
void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    char text[512] = {};
    GetDlgItemTextA(gOpenBox, 0xFFFF, text, sizeof text);
    Boxes().push_back(text);
    PostMessageA(gOpenBox, WM_COMMAND, IDOK, 0);
    if (Boxes().size() == 2)
        PostQuitMessage(0);
}

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char name[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0) {
            gOpenBox = reinterpret_cast<HWND>(wParam);
            SetTimer(nullptr, 0, 50, &ReadAndCloseBox);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// Configure mode's loop: each error that escapes a window procedure shows in
// the error box, one after the other, and the loop goes on until the quit.
TEST(MessagePumpWin32, TheLoopThatShowsErrorsGoesOnAfterEach) {
    Drain();
    win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    ThrowingWindow window(app);
    for (WPARAM kind : {1, 2, 0})
        PostMessageA(window.Handle(), kProbe, kind, 0);
    Boxes().clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, &AnswerBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_NO_THROW(app.Run(win32::Application::EscapedErrors::Show));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(window.handled, 3);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0], "probe.");
    Drain();
}
