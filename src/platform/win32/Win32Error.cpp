// Win32 and COM failures as the program's errors (see Win32Error.h).
#include "platform/win32/Win32Error.h"

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

std::string SystemMessage(DWORD code, const char* fallback) {
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const LocalText owned(text);
    std::string message = n && text ? Narrow(text, n) : std::string();
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    if (message.empty())
        message = fallback ? std::string(fallback) : "Error " + HexDigits(code, 8);
    return message;
}

void RaiseLastError(const char* api) {
    const DWORD code = GetLastError();
    throw EOSError(std::string(api) + " failed: " + SystemMessage(code) + " (code " + std::to_string(code) + ")");
}

void RaiseHResult(const char* call, HRESULT hr) {
    throw EOleSysError(SystemMessage(static_cast<DWORD>(hr)) + " (" + call + ", " +
                       HexDigits(static_cast<DWORD>(hr), 8) + ")");
}

} // namespace lumivane::win32
