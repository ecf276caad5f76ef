// The program's UTF-8 texts as the W functions take them, and back. Paths for
// the file functions that run past MAX_PATH get the "\\?\" prefix, which lifts
// the limit to 32,767 characters: a screensaver 200 folders deep is still found.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/Utf.h"

namespace lumivane::win32 {

inline std::wstring Wide(std::string_view text) {
    const std::u16string units = Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(std::wstring_view text) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// A full path ("D:\...", "\\server\share\...") of MAX_PATH characters or more
// in the form that the file functions take at any length. Shorter paths, and
// paths of any other kind, pass as they are.
inline std::wstring WidePath(std::string_view path) {
    std::wstring wide = Wide(path);
    // Under MAX_PATH less the room a folder's 8.3 file names need.
    if (wide.size() < MAX_PATH - 12)
        return wide;
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\')
        return L"\\\\?\\" + wide;
    if (wide.rfind(L"\\\\", 0) == 0 && wide.rfind(L"\\\\?\\", 0) != 0 && wide.rfind(L"\\\\.\\", 0) != 0)
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

} // namespace lumivane::win32
