// Contract: the screensaver host's preview pane, as preview mode sees it. The
// pane is a window of another process, named only by the integer handle the
// host passed on the command line; the program waits for it to be visible (with
// the MessagePump and Clock contracts) and writes a few lines of text into its
// client area through a device context.
// Texts are ANSI byte strings. Nothing here raises: a handle that names no
// window simply reads as "not visible" and "does not exist", and a device
// context that cannot be had comes back as no canvas at all, so the drawing
// logic decides what each failure means.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace lumivane {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// A device context on the pane's client area. Coordinates are pixels from the
// client area's top-left corner. Output outside the pane is clipped by the
// system; a text output the system reports as failed is not reported here.
class PreviewCanvas {
public:
    virtual ~PreviewCanvas() = default;
    // The system's default GUI font (8-point "MS Sans Serif" on the systems the
    // program was made for).
    virtual void SelectDefaultGuiFont() = 0;
    virtual void SetTextColor(Rgb color) = 0;
    virtual void SetBkColor(Rgb color) = 0;
    // Text cells are filled with the background colour as the text is drawn.
    virtual void SetBkModeOpaque() = 0;
    // One text output with its cell's top-left corner at (x, y); no options, no
    // clipping rectangle.
    virtual void TextAt(int x, int y, const std::string& text) = 0;
};

class PreviewTarget {
public:
    virtual ~PreviewTarget() = default;
    // False as well for a handle that names no window.
    virtual bool IsWindowVisible(std::intptr_t handle) = 0;
    // Whether the handle names a window at all, visible or not.
    virtual bool WindowExists(std::intptr_t handle) = 0;
    // A device context for the window's client area, or nullptr when none can be
    // had (the window went away, or the system refused).
    virtual std::unique_ptr<PreviewCanvas> GetCanvas(std::intptr_t handle) = 0;
};

} // namespace lumivane
