// The Flash Player ActiveX control hosted by hand inside the screen window's
// Flash panel: a minimal OLE container (client site, in-place site and frame)
// written without ATL, and the control's properties and methods reached through
// its dispatch interface.
//
// The screen window builds one Win32FlashHost with the panel's window and the
// control's laid-out place inside it, and hands it to TfrmScreen, which creates
// the control only when it is about to play a movie.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/FlashControl.h"

namespace lumivane::win32 {

class Win32FlashControl;

class Win32FlashHost : public FlashHost {
public:
    // panel: the window the control lives in; bounds: the control's place in the
    // panel's client area, in pixels (already scaled for the screen's DPI).
    Win32FlashHost(HWND panel, const Rect& bounds);
    ~Win32FlashHost() override;
    Win32FlashHost(const Win32FlashHost&) = delete;
    Win32FlashHost& operator=(const Win32FlashHost&) = delete;

    // Creates and activates the control on the first call; later calls return the
    // same control. Raises EOleSysError with the system's text ("Class not
    // registered") when no Flash Player is installed, and EOleSysError naming the
    // call and the code when activation fails; a later call tries again.
    FlashControl& CreateFlash() override;

private:
    HWND panel_;
    Rect bounds_;
    std::unique_ptr<Win32FlashControl> control_;
};

} // namespace lumivane::win32
