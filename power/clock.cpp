#include "power/clock.h"

#include <windows.h>

namespace tovrelle {

DateTime read_clock() {
    SYSTEMTIME st;
    GetLocalTime(&st);  // local time zone and daylight-saving rules of the machine
    return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace tovrelle
