// The decisions of the control theming layer that need no window: which controls it takes
// over, which gradient a state shows, and the colours of each scheme. Styles and colours are
// plain numbers here (the Windows values), so all of it is tested natively.
#pragma once

#include <cstdint>
#include <string_view>

namespace tovrelle::theming {

// Window and control style bits the layer looks at (their Windows values).
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;     // WS_CHILD
inline constexpr std::uint32_t kDisabled = 0x08000000;  // WS_DISABLED
inline constexpr std::uint32_t kBorder = 0x00800000;    // WS_BORDER
inline constexpr std::uint32_t kTabStop = 0x00010000;   // WS_TABSTOP
inline constexpr std::uint32_t kButtonTypeMask = 0x0000000F;
inline constexpr std::uint32_t kPushButton = 0x0;       // BS_PUSHBUTTON
inline constexpr std::uint32_t kDefPushButton = 0x1;    // BS_DEFPUSHBUTTON
inline constexpr std::uint32_t kCheckBox = 0x2;         // BS_CHECKBOX
inline constexpr std::uint32_t kAutoCheckBox = 0x3;     // BS_AUTOCHECKBOX
inline constexpr std::uint32_t kRadioButton = 0x4;      // BS_RADIOBUTTON
inline constexpr std::uint32_t k3State = 0x5;           // BS_3STATE
inline constexpr std::uint32_t kAuto3State = 0x6;       // BS_AUTO3STATE
inline constexpr std::uint32_t kGroupBox = 0x7;         // BS_GROUPBOX
inline constexpr std::uint32_t kUserButton = 0x8;       // BS_USERBUTTON
inline constexpr std::uint32_t kAutoRadioButton = 0x9;  // BS_AUTORADIOBUTTON
inline constexpr std::uint32_t kOwnerDraw = 0xB;        // BS_OWNERDRAW
inline constexpr std::uint32_t kLeftText = 0x20;        // BS_LEFTTEXT
inline constexpr std::uint32_t kBitmap = 0x80;          // BS_BITMAP
inline constexpr std::uint32_t kLeft = 0x100;           // BS_LEFT
inline constexpr std::uint32_t kRight = 0x200;          // BS_RIGHT
inline constexpr std::uint32_t kCenter = 0x300;         // BS_CENTER
inline constexpr std::uint32_t kTop = 0x400;            // BS_TOP
inline constexpr std::uint32_t kBottom = 0x800;         // BS_BOTTOM
inline constexpr std::uint32_t kVCenter = 0xC00;        // BS_VCENTER
inline constexpr std::uint32_t kPushLike = 0x1000;      // BS_PUSHLIKE
inline constexpr std::uint32_t kMultiLine = 0x2000;     // BS_MULTILINE
inline constexpr std::uint32_t kEditReadOnly = 0x0800;  // ES_READONLY
inline constexpr std::uint32_t kComboTypeMask = 0x3;
inline constexpr std::uint32_t kComboSimple = 0x1;        // CBS_SIMPLE
inline constexpr std::uint32_t kComboDropDown = 0x2;      // CBS_DROPDOWN
inline constexpr std::uint32_t kComboDropDownList = 0x3;  // CBS_DROPDOWNLIST
inline constexpr std::uint32_t kUpDownAlignRight = 0x04;  // UDS_ALIGNRIGHT
inline constexpr std::uint32_t kUpDownAlignLeft = 0x08;   // UDS_ALIGNLEFT
inline constexpr std::uint32_t kUpDownHorz = 0x40;        // UDS_HORZ
inline constexpr std::uint32_t kExClientEdge = 0x200;     // WS_EX_CLIENTEDGE
inline constexpr std::uint32_t kExStaticEdge = 0x20000;   // WS_EX_STATICEDGE
}  // namespace style

// DrawText flags (their Windows values) for placing a button's text.
namespace draw_text {
inline constexpr std::uint32_t kLeft = 0x0;        // DT_LEFT
inline constexpr std::uint32_t kCenter = 0x1;      // DT_CENTER
inline constexpr std::uint32_t kRight = 0x2;       // DT_RIGHT
inline constexpr std::uint32_t kWordBreak = 0x10;  // DT_WORDBREAK
}  // namespace draw_text

enum class Kind {
    None,        // a class the layer does not know
    Recognised,  // known, deliberately left with the system's look
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    ComboBox,
    DropDownList,  // the list window of a combo box, "ComboLBox"
    UpDown,
};

struct Classification {
    Kind kind = Kind::None;
    bool taken_over = false;
};

// What the layer needs to know about a window to decide whether it draws it.
struct ControlFacts {
    std::wstring_view class_name;
    std::uint32_t style = 0;
    bool has_text = false;
    std::wstring_view parent_class;
};

// The class name is compared without regard to case.
Classification classify(const ControlFacts& facts);

// Case-insensitive comparison of ASCII window class names.
bool same_class(std::wstring_view a, std::wstring_view b);

// The state flags of a taken-over control that change how it is drawn.
struct State {
    bool disabled = false;
    bool pressed = false;
    bool hot = false;
    bool focused = false;
    bool default_button = false;
    bool checked = false;
    bool indeterminate = false;
    bool read_only = false;
};

// The ring (outer gradient) of an enabled push button: pressed 0, hot 1, checked or
// indeterminate 2, focused or default 3, otherwise 4, the first that applies.
int ring_entry(const State& s);
// The face inside the ring: 5 when pressed, checked or indeterminate, else 6.
int face_entry(const State& s);

// A COLORREF (0x00BBGGRR) split into its parts.
constexpr std::uint8_t red(std::uint32_t c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t green(std::uint32_t c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t blue(std::uint32_t c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// Darkens a colour by a grey step such as 0x202020, part by part; a part that would go below
// zero stays at zero instead of borrowing from its neighbour.
std::uint32_t darken(std::uint32_t colour, std::uint32_t step);

// Four corner colours of a rectangle filled as two gradient triangles. The bottom-right corner
// carries 0xFF in its top byte: that is only the alpha of the corner and shows nowhere.
struct Gradient {
    std::uint32_t top_left = 0;
    std::uint32_t top_right = 0;
    std::uint32_t bottom_left = 0;
    std::uint32_t bottom_right = 0;
};

// A top-to-bottom gradient from one colour to another.
constexpr Gradient vertical(std::uint32_t top, std::uint32_t bottom) {
    return Gradient{top, top, bottom, bottom | 0xFF000000u};
}

struct Scheme {
    std::uint32_t border = 0;      // the push button's 1-pixel outline
    Gradient entries[7];           // ring entries 0..4, face entries 5 and 6
    std::uint32_t edit_frame = 0;  // outer frame line of edit and combo boxes
    // Arrow buttons of combo boxes and up-down controls.
    Gradient arrow_normal;
    Gradient arrow_hot;
    Gradient arrow_pressed;
    std::uint32_t arrow_glyph = 0;
};

// The colours of scheme 1, 2 or 3; any other number gets scheme 1.
const Scheme& scheme(int number);

// Colours that are the same in every scheme.
inline constexpr std::uint32_t kDisabledFace = 0x00EAF4F5;
inline constexpr std::uint32_t kDisabledText = 0x0094A2A5;
inline constexpr std::uint32_t kGroupFrame = 0x00BFB8BF;
inline constexpr std::uint32_t kDisabledBorderStep = 0x202020;
inline constexpr std::uint32_t kDisabledCornerOuterStep = 0x151515;
inline constexpr std::uint32_t kDisabledCornerInnerStep = 0x111111;

// Check boxes and radio buttons do not follow the scheme.
struct MarkColours {
    std::uint32_t frame = 0x00845118;
    std::uint32_t tick = 0x0021A221;
    std::uint32_t tick_disabled = 0x00BDCBCE;
    std::uint32_t hot_square = 0x00D8D8D8;
    Gradient normal;
    Gradient hot;
    Gradient pressed;
};
const MarkColours& mark_colours();

// Where a push button's text goes inside its face: the DrawText flags for the horizontal
// placement (always with word breaks, since the face may be narrower than the text) and the
// vertical placement, worked out by the caller from the height the text needs.
enum class VerticalPlace { Top, Middle, Bottom };
struct TextPlacement {
    std::uint32_t draw_text_flags = 0;
    VerticalPlace vertical = VerticalPlace::Middle;
};
// Buttons without an alignment style centre their text both ways; check boxes and radio
// buttons put it at the left, in the middle.
TextPlacement text_placement(std::uint32_t button_style, Kind kind);

// Top of the text block of the given height within [top, bottom).
int place_vertically(VerticalPlace place, int top, int bottom, int text_height);

// The top line of a group box frame lies half a text line below the control's top.
int group_frame_top(int text_height);

// Horizontal start of a group box caption of the given width in a box of the given width.
int group_caption_left(std::uint32_t button_style, int box_width, int caption_width);

// The check box of a check box or radio button (13 x 13) and its vertical place.
inline constexpr int kMarkSize = 13;
int mark_top(std::uint32_t button_style, int height);

// The widths the layer paints with at a DPI, each a line of the 96-DPI look scaled to whole
// pixels and never thinner than one: the outline, the frame and the focus line (1 pixel at 96
// DPI), the push button's ring and the group box's cleared bands (2 pixels at 96 DPI).
struct PaintMetrics {
    int line = 1;
    int ring = 2;
    int band = 2;
    friend bool operator==(const PaintMetrics&, const PaintMetrics&) = default;
};
PaintMetrics paint_metrics(int dpi);

// Which half of an up-down control a point is over: 0 the upper (or left, when horizontal),
// 1 the lower (or right).
int updown_half(bool horizontal, int width, int height, int x, int y);

}  // namespace tovrelle::theming
