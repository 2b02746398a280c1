// Icon-directory reading and image selection on damaged icon files: the chosen image always
// lies whole inside the data (ASan catches any read beyond it).
#include <cstdlib>
#include <vector>

#include "tray/icon_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the given length, so a read past its end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    for (int width : {16, 32}) {
        const auto image = tovrelle::select_icon_image(bytes, width);
        if (!image) {
            continue;
        }
        const auto* begin = bytes.data();
        if (image->bytes.data() < begin ||
            image->bytes.data() + image->bytes.size() > begin + bytes.size()) {
            std::abort();
        }
        volatile std::uint8_t sum = 0;
        for (std::uint8_t b : image->bytes) {
            sum = static_cast<std::uint8_t>(sum + b);
        }
    }
    return 0;
}
