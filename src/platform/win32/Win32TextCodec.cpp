// The system's text rules (see Win32TextCodec.h).
#include "platform/win32/Win32TextCodec.h"

#include "common/Utf.h"

namespace lumivane::win32 {

std::string Win32TextCodec::AnsiToUtf8(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage_, 0, bytes.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0)
        MultiByteToWideChar(codePage_, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(wide.data()), n);
    return Utf16ToUtf8(wide);
}

std::optional<std::string> Win32TextCodec::Utf8ToAnsi(std::string_view text) {
    if (text.empty())
        return std::string();
    const std::u16string wide = Utf8ToUtf16(text);
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    // UTF-8 ("Use Unicode UTF-8" in the region settings) and GB18030 spell every
    // character, and WideCharToMultiByte rejects the flags and the default-char
    // flag there: it reports a character that does not fit by failing instead.
    const UINT page = codePage_ == CP_ACP ? GetACP() : codePage_;
    const bool everyCharacter = page == CP_UTF8 || page == 54936;
    const DWORD flags = everyCharacter ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* reportDefault = everyCharacter ? nullptr : &usedDefault;
    const int n = WideCharToMultiByte(page, flags, units, length, nullptr, 0, nullptr, reportDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(page, flags, units, length, out.data(), n, nullptr, reportDefault) != n || usedDefault)
        return std::nullopt;
    return out;
}

std::string Win32TextCodec::UpperFileName(std::string_view text) {
    std::u16string wide = Utf8ToUtf16(text);
    if (!wide.empty())
        CharUpperBuffW(reinterpret_cast<wchar_t*>(wide.data()), static_cast<DWORD>(wide.size()));
    return Utf16ToUtf8(wide);
}

} // namespace lumivane::win32
