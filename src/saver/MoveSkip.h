// The move-skip count: how many mouse-move notifications the screen window still
// ignores. It belongs to the process, not to the window: it starts at 1 and the
// window's creation sets it to 5 once its start attempt is over, so the moves
// Windows sends while the window appears do not close it.
#pragma once

#include <cstdint>

namespace lumivane {

inline std::int32_t gMoveSkipCount = 1;

} // namespace lumivane
