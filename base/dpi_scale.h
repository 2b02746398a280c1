// Scaling from the 96-DPI units of the window definition to the pixels of a display. Every
// size the program draws or lays out goes through here, so one rounding rule holds everywhere:
// halves away from zero, as MulDiv rounds.
#pragma once

namespace tovrelle {

// The DPI of a display at 100 % scaling, in which the window definition is written.
inline constexpr int kDefaultDpi = 96;

// value * numerator / denominator, rounded to the nearest whole number, halves away from zero.
constexpr int mul_div_round(int value, int numerator, int denominator) {
    if (denominator == 0) {
        return 0;
    }
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = (denominator > 0 ? denominator : -denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (product < 0 ? -product : product);
    const long long d = denominator < 0 ? -denominator : denominator;
    const long long q = (magnitude + half) / d;
    return static_cast<int>(negative ? -q : q);
}

// A length of the window definition at `dpi`.
constexpr int scale_to_dpi(int value, int dpi) {
    return mul_div_round(value, dpi, kDefaultDpi);
}

// A line of `width` pixels at 96 DPI drawn at `dpi`: whole pixels, never thinner than one.
constexpr int line_width(int width, int dpi) {
    const int scaled = scale_to_dpi(width, dpi);
    return scaled < 1 ? 1 : scaled;
}

// The height (a LOGFONT lfHeight, negative for the character height) of a font that has
// `height` at `font_dpi`, at the same point size on a display of `dpi`.
constexpr int font_height_for_dpi(int height, int font_dpi, int dpi) {
    return mul_div_round(height, dpi, font_dpi);
}

}  // namespace tovrelle
