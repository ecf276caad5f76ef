// The part of the contract world the Flash control suite needs: a fresh Flash
// host over its own panel for each test. The host build hands out the fake; the
// Windows build hosts the stand-in Flash control (flashstub.dll, made available
// to this process only) inside a real panel window.
#pragma once

#include "platform/FlashControl.h"

namespace lumivane::contract {

// Where the screen window lays the control out inside its panel.
inline constexpr Rect kFlashPlace{64, 32, 192, 192};

// A new host whose control, once created, sits at kFlashPlace; the previous host
// and its control are released first.
FlashHost& NewFlashHost();
// Releases the host and takes its windows off the screen, so that later suites
// find the display as they expect it.
void ReleaseFlashWorld();

} // namespace lumivane::contract
