#pragma once
// A fixed "now" for tests of anything that asks the clock.
#include "core/dates.h"

namespace support {

// Sets "now" for the life of the object (noon of the given day unless another time is given)
// and restores the clock after.
class FixedClock {
public:
    FixedClock(int year, int month, int day, double time = 0.5) : saved_(Clock().Now) {
        TDateTime now = EncodeDate(year, month, day) + time;
        Clock().Now = [now] { return now; };
    }
    ~FixedClock() { Clock().Now = saved_; }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    decltype(TClock::Now) saved_;
};

}  // namespace support
