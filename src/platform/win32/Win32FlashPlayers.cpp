// The standalone Flash player over the shell (see Win32FlashPlayers.h).
#include "platform/win32/Win32FlashPlayers.h"

#include <shlwapi.h>

#include "platform/win32/Win32StartedProcess.h"

namespace lumivane::win32 {

std::string Win32FlashPlayers::AssociatedPlayer() {
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    // Without IGNOREUNKNOWN an unassociated type answers with the "Open with" program.
    if (FAILED(AssocQueryStringA(ASSOCF_INIT_IGNOREUNKNOWN | ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, ".swf", "open",
                                 path, &size)))
        return {};
    return path;
}

std::unique_ptr<StartedProcess> Win32FlashPlayers::Open(const std::string& movie) {
    return StartWithShell(movie, "");
}

} // namespace lumivane::win32
