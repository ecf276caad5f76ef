// The shell contract over ShellExecute and SHGetFileInfo (see Win32Shell.h).
#include "platform/win32/Win32Shell.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32StartedProcess.h"

namespace lumivane::win32 {

bool Win32Shell::Execute(const std::string& verb, const std::string& file, const std::string& parameters) {
    const std::u16string shellFile = ShellPath(file);
    if (shellFile.empty())
        return false;
    const std::u16string wideParameters = Wide(parameters);
    ShellExecuteW(nullptr, W(Wide(verb)), W(shellFile), parameters.empty() ? nullptr : W(wideParameters), nullptr,
                  SW_SHOWNORMAL);
    return true;
}

std::unique_ptr<StartedProcess> Win32Shell::Start(const std::string& file, const std::string& parameters) {
    return StartWithShell(file, parameters);
}

std::string Win32Shell::DisplayName(const std::string& path) {
    SHFILEINFOW info;
    std::memset(&info, 0, sizeof info);
    SHGetFileInfoW(W(WidePath(path)), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    info.szDisplayName[MAX_PATH - 1] = u'\0';
    return Narrow(info.szDisplayName);
}

} // namespace lumivane::win32
