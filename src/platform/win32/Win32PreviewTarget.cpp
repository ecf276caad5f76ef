// The preview pane contract over GDI and the window manager (see
// Win32PreviewTarget.h).
#include "platform/win32/Win32PreviewTarget.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

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
    explicit GdiCanvas(WindowDc dc) : dc_(std::move(dc)) {}

    void SelectDefaultGuiFont() override { SelectObject(dc_.Get(), GetStockObject(DEFAULT_GUI_FONT)); }
    void SetTextColor(Rgb color) override { ::SetTextColor(dc_.Get(), ToColorRef(color)); }
    void SetBkColor(Rgb color) override { ::SetBkColor(dc_.Get(), ToColorRef(color)); }
    void SetBkModeOpaque() override { ::SetBkMode(dc_.Get(), OPAQUE); }
    void TextAt(int x, int y, const std::string& text) override {
        // The result is not looked at: a line the system fails to draw costs that
        // line only, and the others are still worth drawing.
        const std::u16string wide = Wide(text);
        ExtTextOutW(dc_.Get(), x, y, 0, nullptr, W(wide), static_cast<UINT>(wide.size()), nullptr);
    }

private:
    WindowDc dc_;
};

} // namespace

bool Win32PreviewTarget::IsWindowVisible(std::intptr_t handle) {
    return ::IsWindowVisible(ToWindow(handle)) != FALSE;
}

bool Win32PreviewTarget::WindowExists(std::intptr_t handle) {
    // IsWindow(NULL) is false, which matters: GetDC(NULL) would be the whole screen.
    return ::IsWindow(ToWindow(handle)) != FALSE;
}

std::unique_ptr<PreviewCanvas> Win32PreviewTarget::GetCanvas(std::intptr_t handle) {
    HWND window = ToWindow(handle);
    if (!::IsWindow(window))
        return nullptr;
    WindowDc dc(window);
    if (!dc)
        return nullptr;
    return std::make_unique<GdiCanvas>(std::move(dc));
}

} // namespace lumivane::win32
