// The program's UTF-8 texts as the W functions take them, and back. The UTF-16
// side is a std::u16string handed over as wchar_t: the program has every
// u16string function already, and each std::wstring one would cost the release
// program its code again. Paths for the file functions that run past MAX_PATH
// get the "\\?\" prefix, which lifts the limit to 32,767 characters: a
// screensaver 200 folders deep is still found (see WidePath).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/Utf.h"

namespace lumivane::win32 {

inline const wchar_t* W(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline wchar_t* W(std::u16string& text) {
    return reinterpret_cast<wchar_t*>(text.data());
}

inline std::u16string Wide(std::string_view text) {
    return Utf8ToUtf16(text);
}

inline std::string Narrow(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

// A text the system returns: up to its terminator, or its first count units.
inline std::string Narrow(const wchar_t* text) {
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

inline std::string Narrow(const wchar_t* text, std::size_t count) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), count));
}

// A full path ("D:\...", "\\server\share\...") of MAX_PATH characters or more
// in the form that the file functions take at any length: made full and normal
// first (GetFullPathNameW), since under "\\?\" the system takes every character
// as it stands. A folder chosen at a drive root gives "D:\\sub", and "\\?\D:\\sub"
// names no file. Shorter paths, and paths of any other kind, pass as they are.
std::u16string WidePath(std::string_view path);

// A file for ShellExecute, which takes no "\\?\" path: itself under MAX_PATH,
// past it its short (8.3) form where the volume keeps short names; empty when
// that is still too long or the file has none.
std::u16string ShellPath(std::string_view path);

} // namespace lumivane::win32
