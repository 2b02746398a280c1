#include "app/integer_edit_text.h"

#include <cstdint>

namespace tovrelle {

bool integer_edit_accepts(unsigned code) noexcept {
    return code < 32 || (code >= L'0' && code <= L'9') || code == L'-';
}

std::wstring normalised_integer_text(std::wstring_view text) {
    constexpr std::int64_t kMax = 2147483647;
    // Past this magnitude every value clamps the same way, so the digits that follow need not
    // be added up: the parse cannot overflow, even for a string beyond the 64-bit range.
    constexpr std::int64_t kSaturated = kMax + 2;

    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (magnitude < kSaturated) {
            magnitude = magnitude * 10 + (text[i] - L'0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    const std::int64_t clamped = value > kMax ? kMax : (value < -kMax - 1 ? -kMax - 1 : value);
    if (clamped == 0) {
        return std::wstring();
    }
    return std::to_wstring(clamped);
}

LineBand centred_line(int inner_top, int inner_bottom, int line_height) noexcept {
    const int room = inner_bottom - inner_top;
    if (line_height <= 0 || line_height >= room) {
        return LineBand{inner_top, inner_bottom};
    }
    const int top = inner_top + (room - line_height) / 2;
    return LineBand{top, top + line_height};
}

}  // namespace tovrelle
