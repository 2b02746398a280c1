// The conversions between texts and integers that arming uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovrelle {

// Reads a text the way the hour, minute and second boxes are read: the full-width digits,
// '＋', '－' and the ideographic space count as their ASCII forms; leading white space is
// skipped; one optional sign; then decimal digits up to the first other character, in 32-bit
// arithmetic that wraps around. No digits gives 0. Never fails.
std::int32_t text_to_integer(std::wstring_view text);

// Plain decimal, '-' in front of negative values ("%d").
std::wstring integer_to_text(std::int32_t value);

}  // namespace tovrelle
