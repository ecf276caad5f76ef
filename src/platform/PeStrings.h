// Reads one entry of a Windows program file's string table straight from the
// file's bytes. Loading a screensaver as a module just to read its description
// would run its start-up code; a screensaver is untrusted code, so its headers
// are parsed instead and nothing of it is ever executed.
//
// The file is walked as the loader would: DOS header, PE header (PE32 or PE32+),
// section table, the resource directory of the optional header, then type
// RT_STRING (6), name (string id / 16 + 1), the first language, and in that block
// of 16 counted UTF-16 strings the entry string id % 16.
//
// Every offset and size is checked against the file and the section that holds
// it; the tree is walked exactly three levels deep, so a directory that points
// back at itself cannot make it loop. Anything malformed gives "nothing".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace lumivane {

inline constexpr std::uint16_t kResourceTypeString = 6; // RT_STRING

// The text of string resource `id` as stored (it may be empty or hold zero
// units), or nothing when the file is no PE image or carries no such string.
std::optional<std::u16string> ReadPeString(InputFile& file, std::uint32_t id);

} // namespace lumivane
