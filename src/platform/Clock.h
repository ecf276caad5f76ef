// Contract: time. The UTC time of day seeds the random pick; Sleep pauses the
// calling (GUI) thread; Milliseconds is a steadily rising count for measuring how
// long a wait took (it never goes back when the user sets the clock).
#pragma once

#include <cstdint>

namespace lumivane {

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay UtcTimeOfDay() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    virtual std::uint64_t Milliseconds() = 0;
};

} // namespace lumivane
