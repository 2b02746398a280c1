#include "power/date_time.h"

#include <cwchar>

namespace tovrelle {

std::wstring date_time_text(const DateTime& t) {
    wchar_t buffer[96];
    int n = std::swprintf(buffer, 96, L"%d年%d月%d日", t.year, t.month, t.day);
    if (t.second != 0) {
        n += std::swprintf(buffer + n, 96 - n, L"%d时%d分%d秒", t.hour, t.minute, t.second);
    } else if (t.minute != 0) {
        n += std::swprintf(buffer + n, 96 - n, L"%d时%d分", t.hour, t.minute);
    } else if (t.hour != 0) {
        n += std::swprintf(buffer + n, 96 - n, L"%d时", t.hour);
    }
    return std::wstring(buffer, static_cast<std::size_t>(n));
}

}  // namespace tovrelle
