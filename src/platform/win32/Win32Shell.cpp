// The shell contract over ShellExecute and SHGetFileInfo (see Win32Shell.h).
#include "platform/win32/Win32Shell.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/Win32StartedProcess.h"

namespace lumivane::win32 {

void Win32Shell::Execute(const std::string& verb, const std::string& file, const std::string& parameters) {
    ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                  SW_SHOWNORMAL);
}

std::unique_ptr<StartedProcess> Win32Shell::Start(const std::string& file, const std::string& parameters) {
    return StartWithShell(file, parameters);
}

std::string Win32Shell::DisplayName(const std::string& path) {
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    info.szDisplayName[sizeof info.szDisplayName - 1] = '\0';
    return info.szDisplayName;
}

} // namespace lumivane::win32
