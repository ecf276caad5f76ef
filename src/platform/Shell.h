// Contract: the Windows shell. Paths and texts are UTF-8.
// Execute is ShellExecute with no owner window, no working folder and
// SW_SHOWNORMAL. The shell takes no path of 260 characters or more: such a file
// goes by its short (8.3) name, and without one Execute returns false, having
// started nothing. What the shell does with a file it was handed is not examined.
// Start opens a file with the "open" verb, as Execute does, and keeps its
// process (ShellExecuteEx), so that a started screensaver can be ended when the
// next one's turn comes; null when no process came back (that file too).
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
    virtual bool Execute(const std::string& verb, const std::string& file, const std::string& parameters) = 0;
    virtual std::unique_ptr<StartedProcess> Start(const std::string& file, const std::string& parameters) = 0;
    virtual std::string DisplayName(const std::string& path) = 0;
};

} // namespace lumivane
