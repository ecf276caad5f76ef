// Contract: a standalone Flash player, the program Windows opens .swf files with,
// started for one movie on a computer that has no Flash Player control.
// - Paths are UTF-8. Rectangles are in screen pixels.
// - Nothing here raises: a player that cannot be found or started is an empty
//   name or a null process, and a process that is gone answers Running() false.
#pragma once

#include <memory>
#include <string>

#include "platform/StartedProcess.h"

namespace lumivane {

class FlashPlayers {
public:
    virtual ~FlashPlayers() = default;
    // The program of the "open" verb of .swf files, empty when none is associated.
    virtual std::string AssociatedPlayer() = 0;
    // Opens the movie with that verb; null when it could not be started.
    virtual std::unique_ptr<StartedProcess> Open(const std::string& movie) = 0;
};

} // namespace lumivane
