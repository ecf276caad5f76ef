// Keyboard focus by a table of tab stops (see FocusOrder.h).
#include "platform/win32/FocusOrder.h"

namespace lumivane::win32 {

void FocusOrder::SetStops(HWND window, std::vector<std::vector<HWND>> stops) {
    window_ = window;
    stops_ = std::move(stops);
}

// The control's own visibility: while the window itself is being shown its
// controls already count.
bool FocusOrder::TakesFocus(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(control);
}

HWND FocusOrder::StopTarget(const std::vector<HWND>& stop) {
    HWND first = nullptr;
    for (HWND control : stop) {
        if (!TakesFocus(control))
            continue;
        if (stop.size() == 1 || SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return control;
        if (!first)
            first = control;
    }
    return first;
}

HWND FocusOrder::Next(HWND from, bool backwards) const {
    const int count = static_cast<int>(stops_.size());
    int at = -1;
    for (int i = 0; i < count && at < 0; ++i)
        for (HWND control : stops_[static_cast<std::size_t>(i)])
            if (from && (control == from || IsChild(control, from)))
                at = i;
    for (int step = 1; step <= count; ++step) {
        int i = at < 0 ? (backwards ? count - step : step - 1) : at + (backwards ? -step : step);
        i = (i % count + count) % count;
        if (HWND target = StopTarget(stops_[static_cast<std::size_t>(i)]))
            return target;
    }
    return nullptr;
}

void FocusOrder::MoveFocus(HWND control) {
    SetFocus(control);
    focus_ = control;
}

void FocusOrder::Remember() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus))
        focus_ = focus;
}

void FocusOrder::Restore() {
    if (focus_ && IsWindow(focus_) && IsChild(window_, focus_) && TakesFocus(focus_))
        MoveFocus(focus_);
    else if (HWND first = Next(nullptr, false))
        MoveFocus(first);
}

} // namespace lumivane::win32
