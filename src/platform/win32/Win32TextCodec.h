// The system's text rules over MultiByteToWideChar, WideCharToMultiByte and
// CharUpperBuffW on the ANSI code page (CP_ACP), or on another code page for
// the tests.
#pragma once

#include <windows.h>

#include "platform/TextCodec.h"

namespace lumivane::win32 {

class Win32TextCodec : public TextCodec {
public:
    explicit Win32TextCodec(UINT codePage = CP_ACP) : codePage_(codePage) {}
    std::string AnsiToUtf8(std::string_view bytes) override;
    std::optional<std::string> Utf8ToAnsi(std::string_view text) override;
    std::string UpperFileName(std::string_view text) override;

private:
    UINT codePage_;
};

} // namespace lumivane::win32
