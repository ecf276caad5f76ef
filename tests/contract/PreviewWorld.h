// The part of the contract world the preview pane suite needs: panes made in
// this process, which the suite then treats as the host's window, named only by
// their handle. The host build scripts the fake pane; the Windows build makes
// real child windows inside a shown top-level window.
#pragma once

#include <cstdint>

#include "platform/PreviewTarget.h"

namespace lumivane::contract {

PreviewTarget& Preview();
// A new pane, shown or hidden, inside a visible top-level window, at (80, 40) of
// that window's client area; the size is the monitor picture's unless given.
std::intptr_t MakePane(bool visible, int width = 152, int height = 112);
void ShowPane(std::intptr_t pane);
void ClosePane(std::intptr_t pane);

} // namespace lumivane::contract
