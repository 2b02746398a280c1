#include "tray/icon_directory.h"

#include <array>
#include <limits>

namespace tovrelle {
namespace {

// Layout of the icon file: a 6-byte header, then one 16-byte entry per image.
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;
constexpr int kMinColourCount = 16;

// BITMAPINFOHEADER, the smallest header an icon bitmap may carry.
constexpr std::size_t kBitmapHeaderSize = 40;
// The PNG signature, then the IHDR chunk's length and type, then width, height, bit depth and
// colour type.
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kPngHeaderSize = 8 + 4 + 4 + 4 + 4 + 1 + 1;

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) |
           (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}

bool is_png(std::span<const std::uint8_t> image) {
    if (image.size() < kPngSignature.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kPngSignature.size(); ++i) {
        if (image[i] != kPngSignature[i]) {
            return false;
        }
    }
    return true;
}

int png_channels(std::uint8_t colour_type) {
    switch (colour_type) {
        case 0:  // grey
        case 3:  // palette
            return 1;
        case 4:  // grey and alpha
            return 2;
        case 2:  // red, green, blue
            return 3;
        case 6:  // red, green, blue and alpha
            return 4;
        default:
            return 0;
    }
}

// Fills in the size and depth from the image's own header; false when it has none that
// makes sense.
bool read_image_header(IconImage& image) {
    const std::span<const std::uint8_t> b = image.bytes;
    constexpr auto kMaxInt = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    if (is_png(b)) {
        if (b.size() < kPngHeaderSize || b[12] != 'I' || b[13] != 'H' || b[14] != 'D' ||
            b[15] != 'R') {
            return false;
        }
        const std::uint32_t w = be32(b, 16);
        const std::uint32_t h = be32(b, 20);
        if (w == 0 || h == 0 || w > kMaxInt || h > kMaxInt) {
            return false;
        }
        image.png = true;
        image.width = static_cast<int>(w);
        image.height = static_cast<int>(h);
        image.bits_per_pixel = b[24] * png_channels(b[25]);
        return true;
    }
    if (b.size() < kBitmapHeaderSize) {
        return false;
    }
    const std::uint32_t header_size = le32(b, 0);
    const std::uint32_t w = le32(b, 4);
    const std::uint32_t h = le32(b, 8);  // colour image and mask; a top-down icon does not exist
    if (header_size < kBitmapHeaderSize || header_size > b.size() || w == 0 || w > kMaxInt ||
        h < 2 || h > kMaxInt) {
        return false;
    }
    image.png = false;
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h / 2);
    image.bits_per_pixel = le16(b, 14);
    return true;
}

}  // namespace

std::optional<IconImage> select_icon_image(std::span<const std::uint8_t> data, int width) {
    if (data.size() < kHeaderSize) {
        return std::nullopt;
    }
    const std::uint16_t reserved = le16(data, 0);
    const std::uint16_t type = le16(data, 2);
    const std::uint16_t count = le16(data, 4);
    if (reserved != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0) {
        return std::nullopt;
    }
    // The first match, else the last entry; every entry up to that one must be whole.
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + i * kEntrySize;
        if (at + kEntrySize > data.size()) {
            return std::nullopt;
        }
        chosen = i;
        if (data[at + 2] >= kMinColourCount && data[at] == width) {
            break;
        }
    }
    const std::size_t at = kHeaderSize + chosen * kEntrySize;
    const std::uint64_t size = le32(data, at + 8);
    const std::uint64_t offset = le32(data, at + 12);
    if (size == 0 || offset > data.size() || size > data.size() - offset) {
        return std::nullopt;
    }
    IconImage image{};
    image.entry = chosen;
    image.bytes = data.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    if (!read_image_header(image)) {
        return std::nullopt;
    }
    return image;
}

}  // namespace tovrelle
