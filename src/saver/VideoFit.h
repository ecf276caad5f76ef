// Where a video goes inside its area: as large as fits with its shape kept,
// centred, so that bars are left on two sides where the shapes differ. A small
// video is scaled up like a large one is scaled down.
#pragma once

#include "platform/VideoPlayer.h"

namespace lumivane {

// An empty rectangle at the area's centre when either size is empty.
Rect FitVideo(VideoSize video, const Rect& area);

} // namespace lumivane
