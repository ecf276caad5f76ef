// Path text shared by every layer: Windows paths as the file functions take
// them, where "\", "/" and a drive's ":" all end a folder.
#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// The folder part of a path with its closing separator ("C:\Savers\" for
// "C:\Savers\waves.scr", "D:" for "D:waves.scr"); empty when the path names no
// folder.
std::string ExtractFilePath(std::string_view path);

} // namespace lumivane
