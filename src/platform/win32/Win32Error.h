// Turns Win32 and COM failures into the program's errors at the boundary,
// naming the API and the system's text for the code.
#pragma once

#include <windows.h>

#include <string>

namespace lumivane::win32 {

// The system's message for an error code, without the trailing line end and
// period; the fallback when the system has none, or "Error %08X" without one.
std::string SystemMessage(DWORD code, const char* fallback = nullptr);

// Raises EOSError "<api> failed: <system text> (code N)".
[[noreturn]] void RaiseLastError(const char* api);

// Raises EOleSysError with the system's text for hr ("Class not registered"),
// followed by the call and the code so a log reader knows where it came from.
[[noreturn]] void RaiseHResult(const char* call, HRESULT hr);

} // namespace lumivane::win32
