// The Windows text world: WideCharToMultiByte on the system's ANSI code page,
// GetThreadPreferredUILanguages.
#include "contract/TextWorld.h"

#include <windows.h>

#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32UiLanguages.h"

namespace lumivane::contract {

TextCodec& Codec() {
    static win32::Win32TextCodec codec;
    return codec;
}

unsigned AnsiCodePage() {
    return GetACP();
}

} // namespace lumivane::contract

namespace lumivane::contract {

UiLanguages& Languages() {
    static win32::Win32UiLanguages languages;
    return languages;
}

} // namespace lumivane::contract
