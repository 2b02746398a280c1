#include "appearance/theming_logic.h"

#include "base/dpi_scale.h"

#include <algorithm>

namespace tovrelle::theming {
namespace {

wchar_t fold(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

Classification button(const ControlFacts& f) {
    const std::uint32_t type = f.style & style::kButtonTypeMask;
    const bool push_like = (f.style & style::kPushLike) != 0;
    switch (type) {
        case style::kPushButton:
        case style::kDefPushButton: {
            // A bitmap button shows its picture; a text-less plain child tab stop is how some
            // frameworks make invisible helper buttons. Both keep the system's drawing.
            const bool bitmap = (f.style & style::kBitmap) != 0;
            const bool bare = !f.has_text && f.style == (style::kChild | style::kTabStop);
            return {Kind::PushButton, !bitmap && !bare};
        }
        case style::kCheckBox:
        case style::kAutoCheckBox:
        case style::k3State:
        case style::kAuto3State:
            return {push_like ? Kind::PushButton : Kind::CheckBox, true};
        case style::kRadioButton:
        case style::kAutoRadioButton:
            return {push_like ? Kind::PushButton : Kind::RadioButton, true};
        case style::kGroupBox:
            return {Kind::GroupBox, true};
        default:  // owner-drawn, user buttons, split buttons, command links
            return {Kind::None, false};
    }
}

// The layer's colours, scheme 1 to 3. Entries 1, 2 and 4 are shared by all three.
constexpr Gradient kHot = vertical(0x00CFF0FF, 0x000097E5);
constexpr Gradient kChecked{0x00BDCBD6, 0x00C6CFD6, 0x00EFF3F7, 0xFFEFF3F7};
constexpr Gradient kNormal = vertical(0x00FFFFFF, 0x00D6DFE2);
constexpr Gradient kBlueFocus = vertical(0x00FFE7CE, 0x00EE8269);

constexpr Scheme kScheme1{
    0x00733C00,
    {vertical(0x00C1CCD1, 0x00EEF1F2), kHot, kChecked, kBlueFocus, kNormal,
     Gradient{0x00DEE3E7, 0x00E7E7E7, 0x00DEE3E7, 0xFFDEE3E7}, vertical(0x00FBFCFC, 0x00E6EBEC)},
    0x00BD9E7B,
    vertical(0x00FBFCFC, 0x00E6EBEC),
    vertical(0x00FFE7CE, 0x00EE8269),
    vertical(0x00C1CCD1, 0x00EEF1F2),
    0x00733C00,
};

constexpr Scheme kScheme2{
    0x00066237,
    {vertical(0x00CEE3EF, 0x00CEE3EF), kHot, kChecked, vertical(0x00CFF0FF, 0x000097E5), kNormal,
     vertical(0x00CEE3EF, 0x00CEE3EF), vertical(0x00FBFCFC, 0x00C9E1EC)},
    0x007FB9A4,
    vertical(0x00FBFCFC, 0x00C9E1EC),
    vertical(0x00CFF0FF, 0x000097E5),
    vertical(0x00CEE3EF, 0x00CEE3EF),
    0x00066237,
};

constexpr Scheme kScheme3{
    0x00743C00,
    {vertical(0x00CEE3EF, 0x00CEE3EF), kHot, kChecked, kBlueFocus, kNormal,
     vertical(0x00C5B2B3, 0x00FBFCFC), vertical(0x00FBFCFC, 0x00D7C5C6)},
    0x00D7C5C6,
    vertical(0x00FBFCFC, 0x00D7C5C6),
    vertical(0x00FFE7CE, 0x00EE8269),
    vertical(0x00C5B2B3, 0x00FBFCFC),
    0x00743C00,
};

constexpr MarkColours kMarks{
    0x00845118,
    0x0021A221,
    0x00BDCBCE,
    0x00D8D8D8,
    vertical(0x00DCE6E6, 0x00FFFFFF),
    vertical(0x00B9E3FF, 0x00FFFFFF),
    vertical(0x00B0C0C4, 0x00EFF3F7),
};

}  // namespace

bool same_class(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

Classification classify(const ControlFacts& f) {
    const std::wstring_view name = f.class_name;
    if (same_class(name, L"Button")) {
        return button(f);
    }
    if (same_class(name, L"Edit")) {
        return {Kind::Edit, !same_class(f.parent_class, L"SysIPAddress32")};
    }
    if (same_class(name, L"ComboBox")) {
        return {Kind::ComboBox, (f.style & style::kComboTypeMask) != style::kComboSimple};
    }
    if (same_class(name, L"ComboLBox")) {
        return {Kind::DropDownList, true};
    }
    if (same_class(name, L"msctls_updown32")) {
        return {Kind::UpDown, true};
    }
    for (std::wstring_view known : {L"ScrollBar", L"SysMonthCal32", L"SysTabControl32",
                                    L"msctls_progress32", L"msctls_trackbar32"}) {
        if (same_class(name, known)) {
            return {Kind::Recognised, false};
        }
    }
    return {Kind::None, false};
}

int ring_entry(const State& s) {
    if (s.pressed) {
        return 0;
    }
    if (s.hot) {
        return 1;
    }
    if (s.checked || s.indeterminate) {
        return 2;
    }
    if (s.focused || s.default_button) {
        return 3;
    }
    return 4;
}

int face_entry(const State& s) {
    return (s.pressed || s.checked || s.indeterminate) ? 5 : 6;
}

std::uint32_t darken(std::uint32_t colour, std::uint32_t step) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int part =
            static_cast<int>((colour >> shift) & 0xFF) - static_cast<int>((step >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(std::max(part, 0)) << shift;
    }
    return out;
}

const Scheme& scheme(int number) {
    switch (number) {
        case 2:
            return kScheme2;
        case 3:
            return kScheme3;
        default:
            return kScheme1;
    }
}

const MarkColours& mark_colours() {
    return kMarks;
}

TextPlacement text_placement(std::uint32_t button_style, Kind kind) {
    const bool mark = kind == Kind::CheckBox || kind == Kind::RadioButton;
    TextPlacement p;
    p.draw_text_flags = draw_text::kWordBreak;
    switch (button_style & style::kCenter) {
        case style::kLeft:
            p.draw_text_flags |= draw_text::kLeft;
            break;
        case style::kRight:
            p.draw_text_flags |= draw_text::kRight;
            break;
        case style::kCenter:
            p.draw_text_flags |= draw_text::kCenter;
            break;
        default:
            p.draw_text_flags |= mark ? draw_text::kLeft : draw_text::kCenter;
            break;
    }
    switch (button_style & style::kVCenter) {
        case style::kTop:
            p.vertical = VerticalPlace::Top;
            break;
        case style::kBottom:
            p.vertical = VerticalPlace::Bottom;
            break;
        case style::kVCenter:
            p.vertical = VerticalPlace::Middle;
            break;
        default:
            // The mark sits at the top when no vertical style is given; its text goes with it.
            p.vertical = mark ? VerticalPlace::Top : VerticalPlace::Middle;
            break;
    }
    return p;
}

int place_vertically(VerticalPlace place, int top, int bottom, int text_height) {
    switch (place) {
        case VerticalPlace::Top:
            return top;
        case VerticalPlace::Bottom:
            return bottom - text_height;
        case VerticalPlace::Middle:
            break;
    }
    return top + (bottom - top - text_height) / 2;
}

int group_frame_top(int text_height) {
    return text_height / 2;
}

int group_caption_left(std::uint32_t button_style, int box_width, int caption_width) {
    switch (button_style & style::kCenter) {
        case style::kRight:
            return box_width - 10 - caption_width;
        case style::kCenter:
            return (box_width - caption_width) / 2;
        default:
            return 9;
    }
}

int mark_top(std::uint32_t button_style, int height) {
    switch (button_style & style::kVCenter) {
        case style::kVCenter:
            return (height - kMarkSize) / 2;
        case style::kBottom:
            return height - kMarkSize;
        default:
            return 0;
    }
}

PaintMetrics paint_metrics(int dpi) {
    return PaintMetrics{line_width(1, dpi), line_width(2, dpi), line_width(2, dpi)};
}

int updown_half(bool horizontal, int width, int height, int x, int y) {
    if (horizontal) {
        return x < width / 2 ? 0 : 1;
    }
    return y < height / 2 ? 0 : 1;
}

}  // namespace tovrelle::theming
