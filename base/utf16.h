// UTF-16 code units as Windows keeps text (wchar_t), without Windows itself.
#pragma once

namespace tovrelle {

// The first half of a surrogate pair: a text cut right after it shows half a character.
constexpr bool is_high_surrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace tovrelle
