// The clock contract over the system time and a wait that answers sent messages (see Win32Clock.h).
#include "platform/win32/Win32Clock.h"

#include "platform/win32/AnsweringWait.h"

namespace lumivane::win32 {

TimeOfDay Win32Clock::UtcTimeOfDay() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return {t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void Win32Clock::Sleep(unsigned milliseconds) {
    WaitAnswering(nullptr, milliseconds);
}

std::uint64_t Win32Clock::Milliseconds() {
    return GetTickCount64();
}

} // namespace lumivane::win32
