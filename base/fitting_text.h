// The one place that grows a buffer until a Windows call's text fits it, in the manner of
// WIL's AdaptFixedSizeToAllocatedResult. The calls that copy a text into a caller's buffer say
// "too small" in two ways (the size needed, or a truncated copy); each caller turns its call's
// answer into the units needed, and this loop does the rest. No Windows dependency of its own,
// so it is tested natively against fake calls.
#pragma once

#include <cstddef>
#include <string>

namespace tovrelle {

// What the first try offers: MAX_PATH, enough for nearly every path.
inline constexpr std::size_t kFirstTextCapacity = 260;
// The longest text any of these calls can give (a path of the \\?\ kind); a call that asks
// for more is not believed, so a misbehaving one cannot make the loop run for ever.
inline constexpr std::size_t kLargestTextCapacity = 32768;

// fill(buffer, capacity) makes the call with a buffer of `capacity` units and answers the
// units the whole text needs with its terminator: at most `capacity` when the text fitted and
// is in the buffer, more when it did not fit, 0 when the call failed. The text, or empty when
// the call failed.
template <typename Fill>
std::wstring adapt_fixed_size_to_allocated(Fill fill) {
    std::wstring text(kFirstTextCapacity, L'\0');
    for (;;) {
        const std::size_t needed = fill(text.data(), text.size());
        if (needed == 0 || needed > kLargestTextCapacity) {
            return {};
        }
        if (needed <= text.size()) {
            text.resize(needed - 1);
            return text;
        }
        text.resize(needed);
    }
}

// The answer of a call that gives the length copied without the terminator when the text
// fits, and the size needed with it when it does not (GetSystemDirectoryW, GetFullPathNameW).
constexpr std::size_t needed_from_size_or_length(std::size_t answer, std::size_t capacity) {
    return answer < capacity && answer != 0 ? answer + 1 : answer;
}

// The answer of a call that copies as much as fits and gives the length copied, the whole
// buffer meaning it was cut (GetModuleFileNameW): the buffer is then doubled.
constexpr std::size_t needed_from_truncated_length(std::size_t answer, std::size_t capacity) {
    if (answer == 0) {
        return 0;
    }
    return answer < capacity ? answer + 1 : capacity * 2;
}

}  // namespace tovrelle
