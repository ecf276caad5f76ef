// The standalone Flash player contract over the shell's file associations:
// AssocQueryString finds the program of the "open" verb of .swf files,
// ShellExecuteEx starts it with the movie and hands back its process handle.
#pragma once

#include <windows.h>

#include "platform/FlashPlayer.h"

namespace lumivane::win32 {

class Win32FlashPlayers : public FlashPlayers {
public:
    std::string AssociatedPlayer() override;
    std::unique_ptr<StartedProcess> Open(const std::string& movie) override;
};

} // namespace lumivane::win32
