// What the skin paints behind a window's client area: a list of solid rectangles, in painting
// order. Worked out without Windows so the geometry and the gradients can be checked natively.
#pragma once

#include <cstdint>
#include <vector>

#include "skinlib/format/skin_format.h"

namespace skinh {

struct Fill {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
    std::uint32_t colour = 0;
    friend bool operator==(const Fill&, const Fill&) = default;
};

// A skin is written for a display at 96 DPI; on a display of `dpi` each band is as much
// thicker (whole lines, at least one), so the bands keep their proportions to the window.
inline constexpr int kSkinDpi = 96;
int band_thickness(const Band& band, int dpi);

// The background over the whole area, then each band one line at a time from its edge
// inwards. A band thicker than the area is cut at the far edge but keeps its own gradient.
std::vector<Fill> plan_backdrop(const Skin& skin, int width, int height, int dpi = kSkinDpi);

// The same backdrop as pixels: `width` x `height` COLORREF values, row by row from the top.
// Empty for an empty area.
std::vector<std::uint32_t> render_backdrop(const Skin& skin, int width, int height,
                                           int dpi = kSkinDpi);

// The colour `step` lines into a gradient of `steps` lines from `outer` to `inner`, each
// channel rounded to the nearest value (halves up).
std::uint32_t gradient_colour(std::uint32_t outer, std::uint32_t inner, int step, int steps);

}  // namespace skinh
