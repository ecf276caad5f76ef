// The three preview lines on real pixels: the pane is a window of this process,
// so what GDI draws into it can be read back (the host's pane of another process
// cannot be read under Wine). Checks the font, colours and opaque cells of the
// GDI canvas, and that nothing outside the three text cells changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/PreviewPane.h"
#include "contract/PreviewWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {

constexpr int kWidth = 152;
constexpr int kHeight = 112;

using Pixels = std::vector<COLORREF>;

Pixels ReadPane(HWND pane) {
    Pixels pixels(kWidth * kHeight);
    HDC dc = GetDC(pane);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[y * kWidth + x] = GetPixel(dc, x, y);
    ReleaseDC(pane, dc);
    return pixels;
}

// Each line's text cell in the default GUI font, clipped to the pane.
std::vector<RECT> TextCells(HWND pane) {
    HDC dc = GetDC(pane);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    std::vector<RECT> cells;
    const std::pair<int, std::string> lines[] = {{12, kPreviewLine1}, {36, kPreviewLine2}, {72, kPreviewLine3}};
    for (const auto& [top, text] : lines) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        cells.push_back({6, top, std::min(6 + static_cast<int>(size.cx), kWidth),
                         std::min(top + static_cast<int>(size.cy), kHeight)});
    }
    SelectObject(dc, old);
    ReleaseDC(pane, dc);
    return cells;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int Brightness(COLORREF c) {
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

} // namespace

TEST(PreviewPixels, WhiteTextOnOpaqueBlackCellsAndNothingElse) {
    const std::intptr_t handle = MakePane(true);
    HWND pane = reinterpret_cast<HWND>(handle);
    Preview().ProcessMessages();
    const Pixels before = ReadPane(pane);
    const COLORREF paneColour = before[0];
    for (COLORREF c : before)
        ASSERT_EQ(c, paneColour) << "the pane was not painted evenly before the drawing";

    DrawPreviewPane(Preview(), handle);
    const Pixels after = ReadPane(pane);
    const std::vector<RECT> cells = TextCells(pane);

    int outsideChanged = 0;
    std::vector<int> dark(cells.size()), light(cells.size()), uncovered(cells.size());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF c = after[y * kWidth + x];
            bool inCell = false;
            for (std::size_t i = 0; i < cells.size(); ++i)
                if (Inside(cells[i], x, y)) {
                    inCell = true;
                    if (c == paneColour)
                        ++uncovered[i];
                    else if (Brightness(c) < 64)
                        ++dark[i];
                    else if (Brightness(c) > 192)
                        ++light[i];
                }
            if (!inCell && c != paneColour)
                ++outsideChanged;
        }
    EXPECT_EQ(outsideChanged, 0);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        // Opaque mode: the whole cell is filled, mostly black, with white glyphs on it.
        EXPECT_EQ(uncovered[i], 0);
        EXPECT_GT(dark[i], light[i]);
        EXPECT_GT(light[i], 0);
    }
    ClosePane(handle);
}
