// Contract: a program started through the shell whose process the saver keeps:
// the standalone Flash player of a movie, or a screensaver that is to be ended
// when the next one's turn comes.
// - Rectangles are in screen pixels. Nothing here raises but for want of memory:
//   a process that is gone answers Running() false and ignores the rest.
// - A StartedProcess owns the process handle it was started with; destroying it
//   leaves the process running (ending it is the caller's: ask, wait, end).
#pragma once

#include "platform/Widgets.h"

namespace lumivane {

class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    virtual bool Running() = 0;
    // Once the program shows its top-level window: takes its border and caption
    // away, puts its client area on the given rectangle and returns true. False,
    // doing nothing, while it shows none yet; the caller waits and asks again.
    virtual bool Place(const Rect& client) = 0;
    // Posts WM_CLOSE to each of its top-level windows.
    virtual void AskToClose() = 0;
    // True when the process has ended within the time. The wait answers what
    // other threads send to ours, so that our input hooks run meanwhile.
    virtual bool WaitForExit(unsigned milliseconds) = 0;
    virtual void Terminate() = 0;
};

} // namespace lumivane
