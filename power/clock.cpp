#include "power/clock.h"

#include <windows.h>

namespace tovrelle {

DateTime read_clock() {
    SYSTEMTIME st;
    GetLocalTime(&st);  // local time zone and daylight-saving rules of the machine
    return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

ClockReading read_clock_reading() {
    FILETIME now_utc;
    GetSystemTimeAsFileTime(&now_utc);
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!FileTimeToSystemTime(&now_utc, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        GetLocalTime(&local);
        GetSystemTime(&utc);
    }
    return ClockReading{
        DateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond},
        seconds_of(DateTime{utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond})};
}

namespace {

class WindowsClock final : public Clock {
  public:
    ClockReading read() override { return read_clock_reading(); }
};

}  // namespace

Clock& windows_clock() {
    static WindowsClock clock;
    return clock;
}

}  // namespace tovrelle
