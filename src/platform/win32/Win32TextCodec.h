// The system's text rules over MultiByteToWideChar, WideCharToMultiByte and
// CharUpperBuffW on the ANSI code page (CP_ACP).
#pragma once

#include <windows.h>

#include "platform/TextCodec.h"

namespace lumivane::win32 {

class Win32TextCodec : public TextCodec {
public:
    std::string AnsiToUtf8(std::string_view bytes) override;
    std::optional<std::string> Utf8ToAnsi(std::string_view text) override;
    std::string UpperFileName(std::string_view text) override;
};

} // namespace lumivane::win32
