// Contract: a program started through the shell whose process the saver keeps:
// the standalone Flash player of a movie, or a screensaver that is to be ended
// when the next one's turn comes.
// - Rectangles are in screen pixels. Nothing here raises: a process that is gone
//   answers Running() false and ignores the rest.
// - A StartedProcess owns the process handle it was started with; destroying it
//   leaves the process running (ending it is the caller's: ask, wait, end).
#pragma once

#include "platform/Widgets.h"

namespace lumivane {

class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    virtual bool Running() = 0;
    // Waits (a few seconds at most) for the program's top-level window, takes its
    // border and caption away and puts its client area on the given rectangle.
    virtual void Place(const Rect& client) = 0;
    // Posts WM_CLOSE to each of its top-level windows.
    virtual void AskToClose() = 0;
    // True when the process has ended within the time.
    virtual bool WaitForExit(unsigned milliseconds) = 0;
    virtual void Terminate() = 0;
};

} // namespace lumivane
