// The shell contract over ShellExecute and SHGetFileInfo.
#pragma once

#include <windows.h>

#include "platform/Shell.h"

namespace lumivane::win32 {

class Win32Shell : public Shell {
public:
    bool Execute(const std::string& verb, const std::string& file, const std::string& parameters) override;
    std::unique_ptr<StartedProcess> Start(const std::string& file, const std::string& parameters) override;
    std::string DisplayName(const std::string& path) override;
};

} // namespace lumivane::win32
