// The three preview lines on real pixels: the pane is a window of this process,
// so what GDI draws into it can be read back (the host's pane of another process
// cannot be read under Wine). Checks the font, colours and opaque cells of the
// GDI canvas, that nothing outside the three text cells changes, and that a pane
// smaller than the text keeps the drawing inside itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/PreviewPane.h"
#include "contract/PreviewWorld.h"
#include "platform/win32/Toolkit.h"
#include "platform/win32/Win32Clock.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {

win32::Application& Pump() {
    static win32::Application app(GetModuleHandleA(nullptr), "Lumivane");
    return app;
}

win32::Win32Clock& Ticks() {
    static win32::Win32Clock clock;
    return clock;
}

struct Image {
    RECT area;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(y - area.top) * (area.right - area.left) + (x - area.left)]; }
};

// A rectangle of a window's client area as it is on the screen now.
Image Read(HWND window, RECT area) {
    Image image{area, {}};
    HDC dc = GetDC(window);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            image.pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return image;
}

RECT ClientArea(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

// Each line's text cell in the default GUI font, clipped to the pane.
std::vector<RECT> TextCells(HWND pane) {
    const RECT client = ClientArea(pane);
    HDC dc = GetDC(pane);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    std::vector<RECT> cells;
    const std::pair<int, std::string> lines[] = {{12, kPreviewLine1}, {36, kPreviewLine2}, {72, kPreviewLine3}};
    for (const auto& [top, text] : lines) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        RECT cell{6, top, std::min(6 + static_cast<int>(size.cx), static_cast<int>(client.right)),
                  std::min(top + static_cast<int>(size.cy), static_cast<int>(client.bottom))};
        cells.push_back(cell);
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

struct CellCount {
    int dark = 0, light = 0, uncovered = 0;
};

// Compares the pane after the drawing with its plain colour: counts per cell, and
// the changed pixels outside every cell.
int CountChanges(const Image& after, COLORREF paneColour, const std::vector<RECT>& cells,
                 std::vector<CellCount>& counts) {
    counts.assign(cells.size(), {});
    int outsideChanged = 0;
    for (int y = after.area.top; y < after.area.bottom; ++y)
        for (int x = after.area.left; x < after.area.right; ++x) {
            const COLORREF c = after.At(x, y);
            bool inCell = false;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (!Inside(cells[i], x, y))
                    continue;
                inCell = true;
                if (c == paneColour)
                    ++counts[i].uncovered;
                else if (Brightness(c) < 64)
                    ++counts[i].dark;
                else if (Brightness(c) > 192)
                    ++counts[i].light;
            }
            if (!inCell && c != paneColour)
                ++outsideChanged;
        }
    return outsideChanged;
}

// The pane, painted evenly, as it is before the drawing; its colour.
COLORREF PlainColour(HWND pane) {
    Pump().ProcessMessages();
    const Image before = Read(pane, ClientArea(pane));
    const COLORREF colour = before.pixels.at(0);
    for (COLORREF c : before.pixels)
        EXPECT_EQ(c, colour) << "the pane was not painted evenly before the drawing";
    return colour;
}

} // namespace

TEST(PreviewPixels, WhiteTextOnOpaqueBlackCellsAndNothingElse) {
    const std::intptr_t handle = MakePane(true);
    HWND pane = reinterpret_cast<HWND>(handle);
    const COLORREF paneColour = PlainColour(pane);

    DrawPreviewPane(Preview(), Pump(), Ticks(), handle);
    std::vector<CellCount> counts;
    const std::vector<RECT> cells = TextCells(pane);
    EXPECT_EQ(CountChanges(Read(pane, ClientArea(pane)), paneColour, cells, counts), 0);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        // Opaque mode: the whole cell is filled, mostly black, with white glyphs on it.
        EXPECT_EQ(counts[i].uncovered, 0);
        EXPECT_GT(counts[i].dark, counts[i].light);
        EXPECT_GT(counts[i].light, 0);
    }
    ClosePane(handle);
}

TEST(PreviewPixels, SmallPaneShowsOnlyWhatFitsAndTheHostAroundItKeepsItsPixels) {
    // 60 x 30: part of line 1 fits, lines 2 and 3 fall below the pane.
    const std::intptr_t handle = MakePane(true, 60, 30);
    HWND pane = reinterpret_cast<HWND>(handle);
    HWND frame = GetParent(pane);
    const COLORREF paneColour = PlainColour(pane);
    // The host's window around the pane (at 80, 40), with a margin wider than the
    // longest line, so text spilling past the pane's edges would land in it.
    const RECT around{40, 20, 300, 140};
    const Image frameBefore = Read(frame, around);

    DrawPreviewPane(Preview(), Pump(), Ticks(), handle);
    std::vector<CellCount> counts;
    const std::vector<RECT> cells = TextCells(pane);
    EXPECT_EQ(CountChanges(Read(pane, ClientArea(pane)), paneColour, cells, counts), 0);
    EXPECT_EQ(counts[0].uncovered, 0);
    EXPECT_GT(counts[0].light, 0);
    // The pane's own pixels show through the host's device context; only those
    // around them count here.
    const RECT paneInFrame{80, 40, 140, 70};
    const Image frameAfter = Read(frame, around);
    int hostChanged = 0;
    for (int y = around.top; y < around.bottom; ++y)
        for (int x = around.left; x < around.right; ++x)
            if (!Inside(paneInFrame, x, y) && frameAfter.At(x, y) != frameBefore.At(x, y))
                ++hostChanged;
    EXPECT_EQ(hostChanged, 0) << "the drawing reached the host's window around the pane";
    ClosePane(handle);
}
