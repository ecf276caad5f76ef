// The Windows preview world: real child windows of one shown top-level window,
// each painted a plain colour.
#include "contract/PreviewWorld.h"

#include <windows.h>

#include "platform/win32/Win32PreviewTarget.h"

namespace lumivane::contract {

namespace {

constexpr char kPaneClass[] = "LumivaneContractPane";
constexpr char kFrameClass[] = "LumivaneContractFrame";

win32::Win32PreviewTarget gPreview;
HWND gFrame = nullptr;

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(RGB(0, 128, 128));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Frame() {
    if (gFrame)
        return gFrame;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA pane{};
    pane.lpfnWndProc = PaneProc;
    pane.hInstance = instance;
    pane.lpszClassName = kPaneClass;
    RegisterClassA(&pane);
    WNDCLASSA frame{};
    frame.lpfnWndProc = DefWindowProcA;
    frame.hInstance = instance;
    frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    frame.lpszClassName = kFrameClass;
    RegisterClassA(&frame);
    gFrame =
        CreateWindowExA(0, kFrameClass, "Preview contract", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN,
                        20, 20, 320, 260, nullptr, nullptr, instance, nullptr);
    return gFrame;
}

HWND ToWindow(std::intptr_t pane) {
    return reinterpret_cast<HWND>(pane);
}

} // namespace

PreviewTarget& Preview() {
    return gPreview;
}

std::intptr_t MakePane(bool visible, int width, int height) {
    HWND frame = Frame();
    HWND pane = CreateWindowExA(0, kPaneClass, "", WS_CHILD | (visible ? WS_VISIBLE : 0), 80, 40, width, height, frame,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(pane);
    return reinterpret_cast<std::intptr_t>(pane);
}

void ShowPane(std::intptr_t pane) {
    ShowWindow(ToWindow(pane), SW_SHOW);
    UpdateWindow(ToWindow(pane));
}

void ClosePane(std::intptr_t pane) {
    DestroyWindow(ToWindow(pane));
}

} // namespace lumivane::contract
