// Date-time values of the local clock and their text form.
#pragma once

#include <string>

namespace tovrelle {

// A point in local time to the whole second, kept as its calendar fields.
struct DateTime {
    int year = 0;
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// "2019年1月12日3时44分3秒": the date, then the time of day shortened from the right
// (no seconds at a full minute, no minutes at a full hour, nothing at midnight).
std::wstring date_time_text(const DateTime& t);

}  // namespace tovrelle
