// The preview pane contract over GDI and the window manager (see
// Win32PreviewTarget.h).
#include "platform/win32/Win32PreviewTarget.h"

#include <windows.h>

namespace lumivane::win32 {

namespace {

HWND ToWindow(std::intptr_t handle) {
    // The host hands over a 32-bit number; window handles are 32-bit values even
    // in a 64-bit process, so a negative number sign-extends as the system's own
    // conversion does.
    return reinterpret_cast<HWND>(handle);
}

COLORREF ToColorRef(Rgb color) {
    return RGB(color.red, color.green, color.blue);
}

class GdiCanvas : public PreviewCanvas {
public:
    GdiCanvas(HWND window, HDC dc) : window_(window), dc_(dc) {}
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;
    ~GdiCanvas() override { ReleaseDC(window_, dc_); }

    void SelectDefaultGuiFont() override { SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT)); }
    void SetTextColor(Rgb color) override { ::SetTextColor(dc_, ToColorRef(color)); }
    void SetBkColor(Rgb color) override { ::SetBkColor(dc_, ToColorRef(color)); }
    void SetBkModeOpaque() override { ::SetBkMode(dc_, OPAQUE); }
    void TextAt(int x, int y, const std::string& text) override {
        // The result is not looked at: a line the system fails to draw costs that
        // line only, and the others are still worth drawing.
        ExtTextOutA(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    }

private:
    HWND window_;
    HDC dc_;
};

} // namespace

bool Win32PreviewTarget::IsWindowVisible(std::intptr_t handle) {
    return ::IsWindowVisible(ToWindow(handle)) != FALSE;
}

bool Win32PreviewTarget::WindowExists(std::intptr_t handle) {
    // IsWindow(NULL) is false, which matters: GetDC(NULL) would be the whole screen.
    return ::IsWindow(ToWindow(handle)) != FALSE;
}

void Win32PreviewTarget::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Win32PreviewTarget::Pause(unsigned milliseconds) {
    // Sleeps like Sleep, but a message for this thread wakes it, so the messages
    // are handled promptly while the pane is waited for.
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::uint64_t Win32PreviewTarget::Milliseconds() {
    return GetTickCount64();
}

std::unique_ptr<PreviewCanvas> Win32PreviewTarget::GetCanvas(std::intptr_t handle) {
    HWND window = ToWindow(handle);
    if (!::IsWindow(window))
        return nullptr;
    HDC dc = GetDC(window);
    if (!dc)
        return nullptr;
    return std::make_unique<GdiCanvas>(window, dc);
}

} // namespace lumivane::win32
