// The part of the contract world the text conversion suite needs: the codec under
// test and the ANSI code page it converts to. The host build supplies the
// portable Windows-1252 codec; the Windows build the system's conversion.
#pragma once

#include "platform/TextCodec.h"

namespace lumivane::contract {

TextCodec& Codec();
unsigned AnsiCodePage();

} // namespace lumivane::contract
