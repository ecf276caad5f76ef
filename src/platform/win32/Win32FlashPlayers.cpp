// The standalone Flash player over the shell (see Win32FlashPlayers.h).
#include "platform/win32/Win32FlashPlayers.h"

#include <shlwapi.h>

#include <cwchar>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32StartedProcess.h"

namespace lumivane::win32 {

std::string Win32FlashPlayers::AssociatedPlayer() {
    std::u16string path(32768, u'\0');
    DWORD size = static_cast<DWORD>(path.size());
    // Without IGNOREUNKNOWN an unassociated type answers with the "Open with" program.
    if (FAILED(AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN | ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L".swf", L"open",
                                 W(path), &size)))
        return {};
    path.resize(std::wcslen(W(path)));
    return Narrow(path);
}

std::unique_ptr<StartedProcess> Win32FlashPlayers::Open(const std::string& movie) {
    return StartWithShell(movie, "");
}

} // namespace lumivane::win32
