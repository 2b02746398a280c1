// The clock line across the top of the window: the words 当前时间：, the local date and time,
// then the status suffix, rebuilt on each periodic event of the clock timer.
#pragma once

#include <string>
#include <string_view>

#include "power/date_time.h"

namespace tovrelle {

class Program;

// "当前时间：" + the date-time text + the suffix, joined with nothing between them.
inline std::wstring clock_line_text(const DateTime& now, std::wstring_view status_suffix) {
    std::wstring line = L"当前时间：";
    line += date_time_text(now);
    line += status_suffix;
    return line;
}

// The clock refresh: reads the clock and writes the line as the caption of the status label.
void refresh_clock_line(Program& program);

}  // namespace tovrelle
