// The started-process contract over ShellExecuteEx and the process handle it
// hands back: the standalone Flash player and, with "ChangeEvery", the started
// screensavers are started this way so that the saver can end them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/StartedProcess.h"

namespace lumivane::win32 {

// Opens the file with the "open" verb and the parameters; null when no process
// came back (no program for the file, or the start failed). A path past
// MAX_PATH goes by its short name (ShellPath), and without one starts nothing.
std::unique_ptr<StartedProcess> StartWithShell(const std::string& file, const std::string& parameters);

} // namespace lumivane::win32
