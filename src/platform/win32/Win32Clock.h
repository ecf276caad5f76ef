// The clock contract over the system time and a wait that answers sent messages.
#pragma once

#include <windows.h>

#include "platform/Clock.h"

namespace lumivane::win32 {

class Win32Clock : public Clock {
public:
    TimeOfDay UtcTimeOfDay() override;
    void Sleep(unsigned milliseconds) override;
    std::uint64_t Milliseconds() override;
};

} // namespace lumivane::win32
