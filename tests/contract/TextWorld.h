// The part of the contract world the text suites need: the codec under test and
// the ANSI code page it converts to, and the user's UI languages. The host build
// supplies the portable Windows-1252 codec and the fake languages; the Windows
// build the system's, run in an English (United States) locale.
#pragma once

#include "platform/TextCodec.h"
#include "platform/UiLanguages.h"

namespace lumivane::contract {

TextCodec& Codec();
unsigned AnsiCodePage();
UiLanguages& Languages();

} // namespace lumivane::contract
