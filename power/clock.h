#pragma once

#include "power/date_time.h"
#include "power/schedule.h"

namespace tovrelle {

// The local wall clock now, to the whole second (fractions dropped).
DateTime read_clock();

// The wall clock and the UTC count from one reading of the system time, so that both describe
// the same moment even when daylight saving starts or ends between two calls.
ClockReading read_clock_reading();

// The clock the schedule reads, handed to it so that tests can set the time.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual ClockReading read() = 0;
};

// The system's clock (read_clock_reading).
Clock& windows_clock();

}  // namespace tovrelle
