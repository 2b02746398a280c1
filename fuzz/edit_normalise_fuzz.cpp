// The edit boxes' normalisation: whatever was typed or pasted becomes a plain 32-bit decimal
// number or the empty text, and normalising that again changes nothing.
#include <cstdlib>
#include <cwctype>

#include "app/integer_edit_text.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring once = tovrelle::normalised_integer_text(fuzz_wide_text(data, size));
    if (once.size() > 11 || once == L"0") {
        std::abort();
    }
    for (std::size_t i = 0; i < once.size(); ++i) {
        const bool digit = once[i] >= L'0' && once[i] <= L'9';
        if (!digit && !(i == 0 && once[i] == L'-')) {
            std::abort();
        }
    }
    if (tovrelle::normalised_integer_text(once) != once) {
        std::abort();
    }
    return 0;
}
