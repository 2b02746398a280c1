// How much of a tooltip text fits the notification area's fixed tooltip buffer.
#pragma once

#include <cstddef>
#include <string_view>

namespace tovrelle {

// The number of UTF-16 code units (wchar_t on Windows) of text to copy into a zero-terminated
// buffer of `capacity` units: all of it when it fits with its terminator, else capacity - 1, one
// fewer when that would split a surrogate pair (half a character shows as a box).
std::size_t tip_length(std::wstring_view text, std::size_t capacity);

}  // namespace tovrelle
