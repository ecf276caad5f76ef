// Contract: the Flash Player control (IShockwaveFlash) inside the screen
// window's Flash panel. Failing calls raise an error naming the call and the
// HRESULT; creating the control raises EOleSysError when no player is installed.
#pragma once

#include <string>

#include "platform/Widgets.h"

namespace lumivane {

class FlashControl : public Control {
public:
    virtual void SetMovie(const std::string& path) = 0; // dispatch id 102, as a wide string
    virtual void SetLoop(bool loop) = 0;                // dispatch id 106
    virtual void SetScaleMode(int mode) = 0;            // dispatch id 120
    virtual bool Playing() = 0;                         // dispatch id 125
    virtual void Zoom(int factor) = 0;
    virtual void Play() = 0;
    virtual void Repaint() = 0;
};

// Creates the control on first use, inside the Flash panel at its laid-out place.
class FlashHost {
public:
    virtual ~FlashHost() = default;
    virtual FlashControl& CreateFlash() = 0;
};

} // namespace lumivane
