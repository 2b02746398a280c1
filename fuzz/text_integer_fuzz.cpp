// Text to integer and back: any text gives a number, never a crash or an overflow trap, and
// the number's own text converts back to it.
#include <cstdlib>

#include "fuzz/fuzz_text.h"
#include "power/text_integer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::int32_t value = tovrelle::text_to_integer(fuzz_wide_text(data, size));
    if (tovrelle::text_to_integer(tovrelle::integer_to_text(value)) != value) {
        std::abort();
    }
    return 0;
}
