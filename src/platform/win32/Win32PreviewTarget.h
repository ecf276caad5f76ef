// The preview pane contract over GDI and the window manager: visibility and
// existence of the host's window, this thread's message queue, and a device
// context on the pane's client area. Preview mode's start-up builds one of these
// and hands it to DrawPreviewPane.
#pragma once

#include "platform/PreviewTarget.h"

namespace lumivane::win32 {

class Win32PreviewTarget : public PreviewTarget {
public:
    bool IsWindowVisible(std::intptr_t handle) override;
    bool WindowExists(std::intptr_t handle) override;
    std::unique_ptr<PreviewCanvas> GetCanvas(std::intptr_t handle) override;
};

} // namespace lumivane::win32
