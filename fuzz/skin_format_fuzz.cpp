// The skin library's file reader on any bytes: an answer for every input, never a read past
// the given length (the data is copied to a block of exactly that size).
#include <cstdlib>
#include <vector>

#include "skinlib/format/skin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) {
        return 0;
    }
    const std::vector<unsigned char> bytes(data, data + size);
    const skinh::ReadResult r = skinh::read_skin(bytes.data(), static_cast<int>(bytes.size()));
    if (r.code == skinh::Code::kOk && r.skin.bands.size() > skinh::kMaxBands) {
        std::abort();
    }
    return 0;
}
