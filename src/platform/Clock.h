// Contract: time. The UTC time of day seeds the random pick; Sleep pauses the
// calling (GUI) thread.
#pragma once

namespace lumivane {

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay UtcTimeOfDay() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
};

} // namespace lumivane
