// Trimming the skin library path: the result is a part of the input, with no space or
// ideographic space at either end, and trimming it again changes nothing.
#include <cstdlib>

#include "appearance/skin_search.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz_wide_text(data, size);
    const std::wstring trimmed = tovrelle::trim_path(text);
    if (text.find(trimmed) == std::wstring::npos) {
        std::abort();
    }
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\u3000'; };
    if (!trimmed.empty() && (blank(trimmed.front()) || blank(trimmed.back()))) {
        std::abort();
    }
    if (tovrelle::trim_path(trimmed) != trimmed) {
        std::abort();
    }
    return 0;
}
