// The buttons' small images (see ButtonImages.h): simple shapes in a few colours,
// drawn on a 16 x 16 grid and turned into icons with a mask.
#include "app/win32/ButtonImages.h"

#include <cstdint>

#include "platform/win32/Toolkit.h"

namespace lumivane::win32 {

namespace {

void Draw(HDC dc, ButtonImage image, int s) {
    auto px = [s](int v) { return MulDiv(v, s, 16); };
    auto pen = [&](COLORREF c, int w) { return SelectObject(dc, CreatePen(PS_SOLID, px(w), c)); };
    auto brush = [&](COLORREF c) { return SelectObject(dc, CreateSolidBrush(c)); };
    auto drop = [&](HGDIOBJ oldPen, HGDIOBJ oldBrush) {
        if (oldPen)
            DeleteObject(SelectObject(dc, oldPen));
        if (oldBrush)
            DeleteObject(SelectObject(dc, oldBrush));
    };
    switch (image) {
    case ButtonImage::Search: { // a magnifying glass
        HGDIOBJ p = pen(RGB(40, 70, 140), 2), b = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, px(1), px(1), px(11), px(11));
        MoveToEx(dc, px(9), px(9), nullptr);
        LineTo(dc, px(15), px(15));
        drop(p, nullptr);
        SelectObject(dc, b);
        break;
    }
    case ButtonImage::Stop: { // a red square
        HGDIOBJ p = pen(RGB(120, 0, 0), 1), b = brush(RGB(210, 30, 30));
        Rectangle(dc, px(3), px(3), px(13), px(13));
        drop(p, b);
        break;
    }
    case ButtonImage::CheckAll: { // a tick
        HGDIOBJ p = pen(RGB(20, 140, 40), 3);
        MoveToEx(dc, px(2), px(8), nullptr);
        LineTo(dc, px(6), px(12));
        LineTo(dc, px(14), px(3));
        drop(p, nullptr);
        break;
    }
    case ButtonImage::Save: { // a disk
        HGDIOBJ p = pen(RGB(30, 30, 90), 1), b = brush(RGB(60, 90, 180));
        Rectangle(dc, px(2), px(2), px(14), px(14));
        drop(nullptr, b);
        b = brush(RGB(235, 235, 235));
        Rectangle(dc, px(4), px(2), px(12), px(7));
        drop(p, b);
        break;
    }
    case ButtonImage::Config: { // a wheel with spokes
        HGDIOBJ p = pen(RGB(90, 90, 90), 2), b = brush(RGB(190, 190, 190));
        for (int i = 0; i < 4; ++i) {
            const int d[4][4] = {{8, 1, 8, 15}, {1, 8, 15, 8}, {3, 3, 13, 13}, {13, 3, 3, 13}};
            MoveToEx(dc, px(d[i][0]), px(d[i][1]), nullptr);
            LineTo(dc, px(d[i][2]), px(d[i][3]));
        }
        Ellipse(dc, px(4), px(4), px(12), px(12));
        drop(p, b);
        break;
    }
    case ButtonImage::About: { // an "i" in a blue disc
        HGDIOBJ p = pen(RGB(20, 60, 150), 1), b = brush(RGB(40, 100, 210));
        Ellipse(dc, px(1), px(1), px(15), px(15));
        drop(p, b);
        p = pen(RGB(255, 255, 255), 2);
        MoveToEx(dc, px(8), px(7), nullptr);
        LineTo(dc, px(8), px(12));
        MoveToEx(dc, px(8), px(4), nullptr);
        LineTo(dc, px(8), px(5));
        drop(p, nullptr);
        break;
    }
    case ButtonImage::Close: { // a cross
        HGDIOBJ p = pen(RGB(170, 30, 30), 3);
        MoveToEx(dc, px(3), px(3), nullptr);
        LineTo(dc, px(13), px(13));
        MoveToEx(dc, px(13), px(3), nullptr);
        LineTo(dc, px(3), px(13));
        drop(p, nullptr);
        break;
    }
    }
}

} // namespace

HICON MakeButtonImage(ButtonImage image) {
    const int s = Scale(16);
    // Draw on a key colour into a 32-bit image, then give every pixel of that
    // colour alpha 0 and every other pixel alpha 255.
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = s;
    bmi.bmiHeader.biHeight = -s;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, colour);
    const COLORREF key = RGB(255, 0, 255);
    HBRUSH keyBrush = CreateSolidBrush(key);
    RECT all{0, 0, s, s};
    FillRect(dc, &all, keyBrush);
    DeleteObject(keyBrush);
    Draw(dc, image, s);
    GdiFlush();
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < s * s; ++i) {
        const std::uint32_t rgb = pixel[i] & 0x00FFFFFFu;
        pixel[i] = rgb == 0x00FF00FFu ? 0u : (rgb | 0xFF000000u);
    }
    SelectObject(dc, old);
    DeleteDC(dc);

    HBITMAP mask = CreateBitmap(s, s, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

} // namespace lumivane::win32
