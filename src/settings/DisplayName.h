// Display names: the short text under which the configuration window lists a
// file. A screensaver shows the description it carries (string 1 of its
// resources, in the user's language, from its language file when it has one),
// any other file its file name, a missing file a fixed warning, and a
// screensaver without a usable description the name the shell gives it, or its
// file name when the shell gives none (it takes no path past 260 characters).
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/UiLanguages.h"

namespace lumivane {

inline constexpr char kFileNotFound[] = "FILE NOT FOUND!";
inline constexpr char kScreenSaverExt[] = ".scr";
// In UTF-16 units, as the system's buffers count them.
inline constexpr std::size_t kDescriptionLimit = 255; // a 256-character buffer with its terminator
inline constexpr std::size_t kShellNameLimit = 259;   // SHFILEINFO's 260 characters with the terminator

struct DisplayNameSources {
    FileSystem& files;
    Shell& shell;
    TextCodec& codec;
    UiLanguages& languages;
};

// The text from the last "." that stands after the folder (see ExtractFilePath),
// dot included; empty when there is none.
std::string ExtractFileExt(std::string_view path);

// Whether the path names a screensaver: its extension is ".scr" as Windows
// compares file names, so "X.SCR" and "x.Scr" are screensavers too (the search's
// mask already finds them).
bool IsScreenSaverFile(TextCodec& codec, std::string_view path);

// Everything after the folder (see ExtractFilePath).
std::string ExtractFileName(std::string_view path);

// Never fails; the result is not upper-cased.
std::string GetDisplayName(DisplayNameSources& sources, const std::string& path);

// The shell's name for the file, empty when the shell cannot tell.
std::string GetShellDisplayName(Shell& shell, const std::string& path);

} // namespace lumivane
