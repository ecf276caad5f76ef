// Contract: the Windows shell. Paths and texts are UTF-8.
// Execute is ShellExecute with no owner window, no working folder and
// SW_SHOWNORMAL; its result is not examined by anyone, so it returns nothing.
// Start opens a file with the "open" verb, as Execute does, and keeps its
// process (ShellExecuteEx), so that a started screensaver can be ended when the
// next one's turn comes; null when no process came back.
// DisplayName is the display-name field of SHGetFileInfo (SHGFI_DISPLAYNAME),
// empty when the shell cannot tell.
#pragma once

#include <memory>
#include <string>

#include "platform/StartedProcess.h"

namespace lumivane {

class Shell {
public:
    virtual ~Shell() = default;
    virtual void Execute(const std::string& verb, const std::string& file, const std::string& parameters) = 0;
    virtual std::unique_ptr<StartedProcess> Start(const std::string& file, const std::string& parameters) = 0;
    virtual std::string DisplayName(const std::string& path) = 0;
};

} // namespace lumivane
