// Message boxes over MessageBox.
#pragma once

#include <windows.h>

#include "platform/Dialogs.h"

namespace lumivane::win32 {

// Boxes belong to the active window of the program when there is one (the
// toolkit's boxes); otherwise they stand alone, task-modal, centred on the screen.
class Win32Dialogs : public Dialogs {
public:
    void ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) override;
    bool Ask(const std::string& caption, const std::string& text, BoxIcon icon) override;

private:
    static int Show(const std::string& caption, const std::string& text, BoxIcon icon, UINT buttons);
};

} // namespace lumivane::win32
