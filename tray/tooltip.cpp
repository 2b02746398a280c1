#include "tray/tooltip.h"

#include "base/utf16.h"

namespace tovrelle {

std::size_t tip_length(std::wstring_view text, std::size_t capacity) {
    if (capacity == 0) {
        return 0;
    }
    if (text.size() < capacity) {
        return text.size();
    }
    std::size_t n = capacity - 1;
    if (n > 0 && is_high_surrogate(text[n - 1])) {
        --n;
    }
    return n;
}

}  // namespace tovrelle
