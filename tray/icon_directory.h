// Reading an icon file (the Windows .ico format) held in memory, to find the one image the
// tray shows. Pure: it only looks at the bytes it is given and never beyond them, so data of
// any shape, however damaged, gives an image inside the data or none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tovrelle {

struct IconImage {
    std::size_t entry;                    // position in the icon directory, from 0
    std::span<const std::uint8_t> bytes;  // the image, a part of the data given
    bool png;                             // a PNG image rather than a device-independent bitmap
    // From the image's own header. A bitmap's header counts the colour image and the mask
    // below it, so its height is halved here; a PNG's is taken as it stands.
    int width;
    int height;
    int bits_per_pixel;
};

// The image one pass over the directory picks: the first entry whose colour count is 16 or
// more and whose width byte is the pass's width, else the last entry. None when the data
// is no icon file, an entry or the chosen image does not lie whole inside the data, or the
// image has no header to take its size from.
std::optional<IconImage> select_icon_image(std::span<const std::uint8_t> data, int width);

}  // namespace tovrelle
