#include "skinlib/format/backdrop.h"

#include <algorithm>

namespace skinh {

std::uint32_t gradient_colour(std::uint32_t outer, std::uint32_t inner, int step, int steps) {
    if (steps <= 1) {
        return outer;
    }
    std::uint32_t colour = 0;
    const int span = steps - 1;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((outer >> shift) & 0xFF);
        const int to = static_cast<int>((inner >> shift) & 0xFF);
        // from + (to - from) * step / span, rounded half up; never negative, so integer
        // division floors. Halves up both ways keeps a gradient and its reverse identical.
        const int scaled = from * span + (to - from) * step;
        const int value = (2 * scaled + span) / (2 * span);
        colour |= static_cast<std::uint32_t>(value) << shift;
    }
    return colour;
}

int band_thickness(const Band& band, int dpi) {
    if (band.thickness <= 0 || dpi <= 0) {
        return band.thickness;
    }
    // Rounded to the nearest line, halves up.
    const long long scaled = (2LL * band.thickness * dpi + kSkinDpi) / (2LL * kSkinDpi);
    return scaled < 1 ? 1 : static_cast<int>(std::min<long long>(scaled, 1 << 20));
}

std::vector<Fill> plan_backdrop(const Skin& skin, int width, int height, int dpi) {
    std::vector<Fill> fills;
    if (width <= 0 || height <= 0) {
        return fills;
    }
    fills.push_back(Fill{0, 0, width, height, skin.background});
    for (const Band& band : skin.bands) {
        const bool across = band.edge == Edge::kTop || band.edge == Edge::kBottom;
        const int thickness = band_thickness(band, dpi);
        const int lines = std::min(thickness, across ? height : width);
        for (int i = 0; i < lines; ++i) {
            const std::uint32_t colour = gradient_colour(band.outer, band.inner, i, thickness);
            switch (band.edge) {
                case Edge::kTop:
                    fills.push_back(Fill{0, i, width, i + 1, colour});
                    break;
                case Edge::kBottom:
                    fills.push_back(Fill{0, height - 1 - i, width, height - i, colour});
                    break;
                case Edge::kLeft:
                    fills.push_back(Fill{i, 0, i + 1, height, colour});
                    break;
                case Edge::kRight:
                    fills.push_back(Fill{width - 1 - i, 0, width - i, height, colour});
                    break;
            }
        }
    }
    return fills;
}

std::vector<std::uint32_t> render_backdrop(const Skin& skin, int width, int height, int dpi) {
    const std::vector<Fill> fills = plan_backdrop(skin, width, height, dpi);
    if (fills.empty()) {
        return {};
    }
    const auto w = static_cast<std::size_t>(width);
    std::vector<std::uint32_t> pixels(w * static_cast<std::size_t>(height));
    for (const Fill& f : fills) {
        for (int y = f.top; y < f.bottom; ++y) {
            std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * w;
            std::fill(row + f.left, row + f.right, f.colour);
        }
    }
    return pixels;
}

}  // namespace skinh
