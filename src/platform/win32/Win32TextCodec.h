// Text conversion to the ANSI code page over WideCharToMultiByte.
#pragma once

#include <windows.h>

#include "platform/TextCodec.h"

namespace lumivane::win32 {

// UTF-16 to the ANSI code page (CP_ACP), "?" for what it cannot show.
class Win32TextCodec : public TextCodec {
public:
    std::string WideToAnsi(std::u16string_view text) override;
    std::string UpperFileName(std::string text) override; // CharUpperBuffA
};

} // namespace lumivane::win32
