// Keyboard focus for a window whose tab order is not its z-order: a table of tab
// stops walked by Tab and Shift+Tab, and the control to give the focus back to
// when the window becomes active again (after a box in front of it has closed).
#pragma once

#include <windows.h>

#include <vector>

namespace lumivane::win32 {

class FocusOrder {
public:
    // The window's stops in tab order. A stop of several controls is a radio
    // group: the ticked one takes the focus. Hidden or disabled controls are
    // passed over.
    void SetStops(HWND window, std::vector<std::vector<HWND>> stops);

    // The control after (or before) the stop that holds from; the first (or last)
    // one when from is in none.
    HWND Next(HWND from, bool backwards) const;
    void MoveFocus(HWND control);
    // Keeps the window's focused control, to give the focus back to later.
    void Remember();
    // Gives the focus back to the remembered control, or to the first stop.
    void Restore();

private:
    static bool TakesFocus(HWND control);
    static HWND StopTarget(const std::vector<HWND>& stop);

    HWND window_ = nullptr;
    std::vector<std::vector<HWND>> stops_;
    HWND focus_ = nullptr;
};

} // namespace lumivane::win32
