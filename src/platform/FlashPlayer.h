// Contract: a standalone Flash player, the program Windows opens .swf files with,
// started for one movie on a computer that has no Flash Player control.
// - Paths are ANSI byte strings. Rectangles are in screen pixels.
// - Nothing here raises: a player that cannot be found or started is an empty
//   name or a null process, and a process that is gone answers Running() false.
// - A PlayerProcess owns the process handle it was started with; destroying it
//   leaves the process running (closing it is the caller's, see TfrmScreen).
#pragma once

#include <memory>
#include <string>

#include "platform/Widgets.h"

namespace lumivane {

class PlayerProcess {
public:
    virtual ~PlayerProcess() = default;
    virtual bool Running() = 0;
    // Waits (a few seconds at most) for the player's top-level window, takes its
    // border and caption away and puts its client area on the given rectangle.
    virtual void Place(const Rect& client) = 0;
    // Posts WM_CLOSE to each of its top-level windows.
    virtual void AskToClose() = 0;
    // True when the process has ended within the time.
    virtual bool WaitForExit(unsigned milliseconds) = 0;
    virtual void Terminate() = 0;
};

class FlashPlayers {
public:
    virtual ~FlashPlayers() = default;
    // The program of the "open" verb of .swf files, empty when none is associated.
    virtual std::string AssociatedPlayer() = 0;
    // Opens the movie with that verb; null when it could not be started.
    virtual std::unique_ptr<PlayerProcess> Open(const std::string& movie) = 0;
};

} // namespace lumivane
