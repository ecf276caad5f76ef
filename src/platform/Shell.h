// Contract: the Windows shell.
// Execute is ShellExecute with no owner window, no working folder and
// SW_SHOWNORMAL; its result is not examined by anyone, so it returns nothing.
// DisplayName is the display-name field of SHGetFileInfo (SHGFI_DISPLAYNAME),
// empty when the shell cannot tell.
#pragma once

#include <string>

namespace lumivane {

class Shell {
public:
    virtual ~Shell() = default;
    virtual void Execute(const std::string& verb, const std::string& file, const std::string& parameters) = 0;
    virtual std::string DisplayName(const std::string& path) = 0;
};

} // namespace lumivane
