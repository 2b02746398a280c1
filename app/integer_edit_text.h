// The rules of the integer-only edit boxes that need no window: which typed characters reach
// the box, what its text becomes when it loses the focus, and where its one line sits.
#pragma once

#include <string>
#include <string_view>

namespace tovrelle {

// Whether a typed character (the code of a WM_CHAR) may reach the box: control characters
// (Backspace and the like, codes below 32) always, of the rest only the digits and '-'.
bool integer_edit_accepts(unsigned code) noexcept;

// The text of a box that loses the focus, read as a number the way the user would mean it:
// leading spaces, an optional sign, then the digits up to the first non-digit (no digits is 0).
// The value is clamped to the signed 32-bit range, however many digits there are, and written
// in plain decimal; 0 becomes the empty text.
std::wstring normalised_integer_text(std::wstring_view text);

// A one-line box shows its line midway between the top and the bottom of its inner area.
// Gives the top and bottom of a line of line_height there; an inner area no taller than the
// line is left as it is.
struct LineBand {
    int top;
    int bottom;
    friend bool operator==(const LineBand&, const LineBand&) = default;
};
LineBand centred_line(int inner_top, int inner_bottom, int line_height) noexcept;

}  // namespace tovrelle
