// The date-time text for any field values, including ones no clock shows: never a crash,
// never a cut-off number, always the date first.
#include <cstdlib>
#include <cstring>
#include <string>

#include "power/date_time.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int fields[6] = {};
    std::memcpy(fields, data, size < sizeof(fields) ? size : sizeof(fields));
    const tovrelle::DateTime t{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    const std::wstring text = tovrelle::date_time_text(t);
    const std::wstring date = std::to_wstring(t.year) + L"年" + std::to_wstring(t.month) + L"月" +
                              std::to_wstring(t.day) + L"日";
    if (text.compare(0, date.size(), date) != 0) {
        std::abort();
    }
    if (t.second != 0 && text != date + std::to_wstring(t.hour) + L"时" +
                                     std::to_wstring(t.minute) + L"分" + std::to_wstring(t.second) +
                                     L"秒") {
        std::abort();
    }
    return 0;
}
