// The small images on the configuration window's buttons, drawn by the program
// itself so that it ships no image files.
#pragma once

#include "platform/win32/Handles.h"

namespace lumivane::win32 {

enum class ButtonImage { Search, Stop, CheckAll, Save, Config, About, Close };

// A 16 x 16 icon (scaled for the screen); none when the system has no room for it.
Icon MakeButtonImage(ButtonImage image);

} // namespace lumivane::win32
