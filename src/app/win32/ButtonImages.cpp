// The buttons' small images (see ButtonImages.h): simple shapes in a few colours,
// drawn on a 16 x 16 grid and turned into icons with a mask.
#include "app/win32/ButtonImages.h"

#include <cstdint>
#include <optional>

#include "platform/win32/Toolkit.h"

namespace lumivane::win32 {

namespace {

// A pen and a brush selected into the DC for one shape, put back and deleted
// when the shape is done.
class Tools {
public:
    Tools(HDC dc, COLORREF pen, int width, std::optional<COLORREF> brush)
        : pen_(CreatePen(PS_SOLID, width, pen)), brush_(brush ? CreateSolidBrush(*brush) : nullptr),
          selectedPen_(dc, pen_.Get()),
          selectedBrush_(dc, brush ? static_cast<HGDIOBJ>(brush_.Get()) : GetStockObject(NULL_BRUSH)) {}

private:
    Pen pen_;
    Brush brush_;
    SelectedObject selectedPen_;
    SelectedObject selectedBrush_;
};

void Draw(HDC dc, ButtonImage image, int s) {
    auto px = [s](int v) { return MulDiv(v, s, 16); };
    auto line = [&](int x1, int y1, int x2, int y2) {
        MoveToEx(dc, px(x1), px(y1), nullptr);
        LineTo(dc, px(x2), px(y2));
    };
    switch (image) {
    case ButtonImage::Search: { // a magnifying glass
        const Tools tools(dc, RGB(40, 70, 140), px(2), std::nullopt);
        Ellipse(dc, px(1), px(1), px(11), px(11));
        line(9, 9, 15, 15);
        break;
    }
    case ButtonImage::Stop: { // a red square
        const Tools tools(dc, RGB(120, 0, 0), px(1), RGB(210, 30, 30));
        Rectangle(dc, px(3), px(3), px(13), px(13));
        break;
    }
    case ButtonImage::CheckAll: { // a tick
        const Tools tools(dc, RGB(20, 140, 40), px(3), std::nullopt);
        line(2, 8, 6, 12);
        LineTo(dc, px(14), px(3));
        break;
    }
    case ButtonImage::Save: { // a disk
        {
            const Tools tools(dc, RGB(30, 30, 90), px(1), RGB(60, 90, 180));
            Rectangle(dc, px(2), px(2), px(14), px(14));
        }
        const Tools tools(dc, RGB(30, 30, 90), px(1), RGB(235, 235, 235));
        Rectangle(dc, px(4), px(2), px(12), px(7));
        break;
    }
    case ButtonImage::Config: { // a wheel with spokes
        const Tools tools(dc, RGB(90, 90, 90), px(2), RGB(190, 190, 190));
        line(8, 1, 8, 15);
        line(1, 8, 15, 8);
        line(3, 3, 13, 13);
        line(13, 3, 3, 13);
        Ellipse(dc, px(4), px(4), px(12), px(12));
        break;
    }
    case ButtonImage::About: { // an "i" in a blue disc
        {
            const Tools tools(dc, RGB(20, 60, 150), px(1), RGB(40, 100, 210));
            Ellipse(dc, px(1), px(1), px(15), px(15));
        }
        const Tools tools(dc, RGB(255, 255, 255), px(2), std::nullopt);
        line(8, 7, 8, 12);
        line(8, 4, 8, 5);
        break;
    }
    case ButtonImage::Close: { // a cross
        const Tools tools(dc, RGB(170, 30, 30), px(3), std::nullopt);
        line(3, 3, 13, 13);
        line(13, 3, 3, 13);
        break;
    }
    }
}

} // namespace

Icon MakeButtonImage(ButtonImage image) {
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
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    const Bitmap colour(CreateDIBSection(dc.Get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !colour)
        return Icon();
    {
        const SelectedObject selected(dc.Get(), colour.Get());
        const Brush keyBrush(CreateSolidBrush(RGB(255, 0, 255)));
        RECT all{0, 0, s, s};
        FillRect(dc.Get(), &all, keyBrush.Get());
        Draw(dc.Get(), image, s);
        GdiFlush();
    }
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < s * s; ++i) {
        const std::uint32_t rgb = pixel[i] & 0x00FFFFFFu;
        pixel[i] = rgb == 0x00FF00FFu ? 0u : (rgb | 0xFF000000u);
    }

    const Bitmap mask(CreateBitmap(s, s, 1, 1, nullptr));
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return Icon(CreateIconIndirect(&info));
}

} // namespace lumivane::win32
