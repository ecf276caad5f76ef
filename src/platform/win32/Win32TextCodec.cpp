// Text conversion to the ANSI code page over WideCharToMultiByte (see Win32TextCodec.h).
#include "platform/win32/Win32TextCodec.h"

namespace lumivane::win32 {

std::string Win32TextCodec::WideToAnsi(std::u16string_view text) {
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

std::string Win32TextCodec::UpperFileName(std::string text) {
    if (!text.empty())
        CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace lumivane::win32
