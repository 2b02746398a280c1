// The theming layer's decisions: which controls it takes over, which gradient each state
// shows and the colours of the three schemes.
#include <gtest/gtest.h>

#include <string>

#include "appearance/theming_logic.h"

namespace tovrelle::theming {
namespace {

constexpr std::uint32_t kVisibleChild = style::kChild | 0x10000000;  // WS_CHILD | WS_VISIBLE

struct ClassCase {
    const wchar_t* class_name;
    std::uint32_t style;
    bool has_text;
    const wchar_t* parent_class;
    Kind kind;
    bool taken_over;
};

std::string narrow(const wchar_t* s) {
    std::string out;
    for (; *s != 0; ++s) {
        out.push_back(static_cast<char>(*s));
    }
    return out;
}

TEST(ThemingClassify, EveryRowOfTheKindsTable) {
    using namespace style;
    const ClassCase cases[] = {
        // Push buttons, plain and default, with the class name in any case.
        {L"Button", kVisibleChild | kPushButton | kTabStop, true, L"Main", Kind::PushButton, true},
        {L"BUTTON", kVisibleChild | kDefPushButton, true, L"#32770", Kind::PushButton, true},
        {L"button", kVisibleChild | kPushButton | kCenter | kVCenter | kMultiLine, true, L"",
         Kind::PushButton, true},
        // A bitmap push button keeps its picture.
        {L"Button", kVisibleChild | kPushButton | kBitmap, true, L"", Kind::PushButton, false},
        {L"Button", kVisibleChild | kDefPushButton | kBitmap, false, L"", Kind::PushButton, false},
        // A text-less button whose style is exactly WS_CHILD | WS_TABSTOP is left alone ...
        {L"Button", kChild | kTabStop, false, L"", Kind::PushButton, false},
        // ... but not with text, nor with any further style bit.
        {L"Button", kChild | kTabStop, true, L"", Kind::PushButton, true},
        {L"Button", kChild | kTabStop | 0x10000000, false, L"", Kind::PushButton, true},
        {L"Button", kChild, false, L"", Kind::PushButton, true},
        // Check boxes, plain, automatic and three-state; push-like ones are push buttons.
        {L"Button", kVisibleChild | kCheckBox, true, L"", Kind::CheckBox, true},
        {L"Button", kVisibleChild | kAutoCheckBox, true, L"", Kind::CheckBox, true},
        {L"Button", kVisibleChild | k3State, true, L"", Kind::CheckBox, true},
        {L"Button", kVisibleChild | kAuto3State, false, L"", Kind::CheckBox, true},
        {L"Button", kVisibleChild | kAutoCheckBox | kPushLike, true, L"", Kind::PushButton, true},
        {L"Button", kVisibleChild | kAuto3State | kPushLike, true, L"", Kind::PushButton, true},
        // Radio buttons.
        {L"Button", kVisibleChild | kRadioButton, true, L"", Kind::RadioButton, true},
        {L"Button", kVisibleChild | kAutoRadioButton, true, L"", Kind::RadioButton, true},
        {L"Button", kVisibleChild | kAutoRadioButton | kPushLike, true, L"", Kind::PushButton,
         true},
        // Group boxes.
        {L"Button", kVisibleChild | kGroupBox | kLeft, false, L"", Kind::GroupBox, true},
        // Owner-drawn, user buttons and the newer types are not drawn by the layer.
        {L"Button", kVisibleChild | kOwnerDraw, true, L"", Kind::None, false},
        {L"Button", kVisibleChild | kUserButton, true, L"", Kind::None, false},
        {L"Button", kVisibleChild | 0xA, true, L"", Kind::None, false},  // BS_PUSHBOX
        {L"Button", kVisibleChild | 0xC, true, L"", Kind::None, false},  // BS_SPLITBUTTON
        {L"Button", kVisibleChild | 0xE, true, L"", Kind::None, false},  // BS_COMMANDLINK
        {L"Button", kVisibleChild | 0xF, true, L"", Kind::None, false},  // BS_DEFCOMMANDLINK
        // Edit boxes, except the fields of an IP address control.
        {L"Edit", kVisibleChild, false, L"Main", Kind::Edit, true},
        {L"EDIT", kVisibleChild | kEditReadOnly, true, L"ComboBox", Kind::Edit, true},
        {L"Edit", kVisibleChild, false, L"SysIPAddress32", Kind::Edit, false},
        {L"Edit", kVisibleChild, false, L"sysipaddress32", Kind::Edit, false},
        // Combo boxes, except the simple kind; their drop-down lists.
        {L"ComboBox", kVisibleChild | kComboDropDown, false, L"", Kind::ComboBox, true},
        {L"combobox", kVisibleChild | kComboDropDownList, false, L"", Kind::ComboBox, true},
        {L"ComboBox", kVisibleChild | kComboSimple, false, L"", Kind::ComboBox, false},
        {L"ComboLBox", 0x80000000 | kBorder, false, L"", Kind::DropDownList, true},
        // Up-down controls.
        {L"msctls_updown32", kVisibleChild | kUpDownAlignRight, false, L"", Kind::UpDown, true},
        {L"MSCTLS_UPDOWN32", kVisibleChild | kUpDownHorz, false, L"", Kind::UpDown, true},
        // Recognised, and left with the system's look.
        {L"ScrollBar", kVisibleChild, false, L"", Kind::Recognised, false},
        {L"SysMonthCal32", kVisibleChild, false, L"", Kind::Recognised, false},
        {L"SysTabControl32", kVisibleChild, false, L"", Kind::Recognised, false},
        {L"msctls_progress32", kVisibleChild, false, L"", Kind::Recognised, false},
        {L"msctls_trackbar32", kVisibleChild, false, L"", Kind::Recognised, false},
        // Everything else.
        {L"msctls_hotkey32", kVisibleChild, false, L"", Kind::None, false},
        {L"SysIPAddress32", kVisibleChild, false, L"", Kind::None, false},
        {L"ListBox", kVisibleChild | kBorder, false, L"", Kind::None, false},
        {L"SysListView32", kVisibleChild, false, L"", Kind::None, false},
        {L"SysTreeView32", kVisibleChild, false, L"", Kind::None, false},
        {L"SysDateTimePick32", kVisibleChild, false, L"", Kind::None, false},
        {L"Static", kVisibleChild, true, L"", Kind::None, false},
        {L"TovrelleTransparentLabel", kVisibleChild, true, L"", Kind::None, false},
        {L"#32770", 0x80000000, true, L"", Kind::None, false},
        {L"", 0, false, L"", Kind::None, false},
        // Near misses of a known name are not that class.
        {L"Buttons", kVisibleChild, true, L"", Kind::None, false},
        {L"Edi", kVisibleChild, true, L"", Kind::None, false},
    };
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(narrow(c.class_name) + " style " + std::to_string(c.style) + " text " +
                     std::to_string(c.has_text) + " parent " + narrow(c.parent_class));
        const Classification got =
            classify(ControlFacts{c.class_name, c.style, c.has_text, c.parent_class});
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.taken_over, c.taken_over);
    }
}

struct StateCase {
    const char* name;
    State state;
    int ring;
    int face;
};

State make(bool pressed, bool hot, bool checked, bool indeterminate, bool focused,
           bool default_button) {
    State s;
    s.pressed = pressed;
    s.hot = hot;
    s.checked = checked;
    s.indeterminate = indeterminate;
    s.focused = focused;
    s.default_button = default_button;
    return s;
}

TEST(ThemingState, GradientEntryByPrecedence) {
    const StateCase cases[] = {
        {"normal", make(false, false, false, false, false, false), 4, 6},
        {"default", make(false, false, false, false, false, true), 3, 6},
        {"focused", make(false, false, false, false, true, false), 3, 6},
        {"focused default", make(false, false, false, false, true, true), 3, 6},
        {"indeterminate", make(false, false, false, true, false, false), 2, 5},
        {"checked", make(false, false, true, false, false, false), 2, 5},
        {"checked beats focus", make(false, false, true, false, true, true), 2, 5},
        {"hot", make(false, true, false, false, false, false), 1, 6},
        {"hot beats checked", make(false, true, true, false, true, false), 1, 5},
        {"hot indeterminate", make(false, true, false, true, false, false), 1, 5},
        {"pressed", make(true, false, false, false, false, false), 0, 5},
        {"pressed beats all", make(true, true, true, true, true, true), 0, 5},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ring_entry(c.state), c.ring);
        EXPECT_EQ(face_entry(c.state), c.face);
    }
}

TEST(ThemingState, DisabledAndReadOnlyDoNotChooseAGradient) {
    State s;
    s.disabled = true;
    s.read_only = true;
    EXPECT_EQ(ring_entry(s), 4);
    EXPECT_EQ(face_entry(s), 6);
}

void expect_vertical(const Gradient& g, std::uint32_t top, std::uint32_t bottom) {
    EXPECT_EQ(g.top_left, top);
    EXPECT_EQ(g.top_right, top);
    EXPECT_EQ(g.bottom_left, bottom);
    EXPECT_EQ(g.bottom_right & 0x00FFFFFF, bottom);
}

TEST(ThemingSchemes, SchemeTwoPushButtonColours) {
    const Scheme& s = scheme(2);
    EXPECT_EQ(s.border, 0x00066237u);
    {
        SCOPED_TRACE("entry 0, pressed");
        expect_vertical(s.entries[0], 0x00CEE3EF, 0x00CEE3EF);
    }
    {
        SCOPED_TRACE("entry 1, hot");
        expect_vertical(s.entries[1], 0x00CFF0FF, 0x000097E5);
    }
    {
        SCOPED_TRACE("entry 2, checked: two colours at the top");
        EXPECT_EQ(s.entries[2].top_left, 0x00BDCBD6u);
        EXPECT_EQ(s.entries[2].top_right, 0x00C6CFD6u);
        EXPECT_EQ(s.entries[2].bottom_left, 0x00EFF3F7u);
        EXPECT_EQ(s.entries[2].bottom_right & 0x00FFFFFF, 0x00EFF3F7u);
    }
    {
        SCOPED_TRACE("entry 3, focused or default");
        expect_vertical(s.entries[3], 0x00CFF0FF, 0x000097E5);
    }
    {
        SCOPED_TRACE("entry 4, normal");
        expect_vertical(s.entries[4], 0x00FFFFFF, 0x00D6DFE2);
    }
    {
        SCOPED_TRACE("entry 5, face pressed or checked");
        expect_vertical(s.entries[5], 0x00CEE3EF, 0x00CEE3EF);
    }
    {
        SCOPED_TRACE("entry 6, face normal");
        expect_vertical(s.entries[6], 0x00FBFCFC, 0x00C9E1EC);
    }
    EXPECT_EQ(s.edit_frame, 0x007FB9A4u);
}

TEST(ThemingSchemes, SchemesOneAndThreeDifferWhereTheyShould) {
    const Scheme& one = scheme(1);
    const Scheme& two = scheme(2);
    const Scheme& three = scheme(3);
    EXPECT_EQ(one.border, 0x00733C00u);
    EXPECT_EQ(three.border, 0x00743C00u);
    expect_vertical(one.entries[0], 0x00C1CCD1, 0x00EEF1F2);
    expect_vertical(three.entries[0], 0x00CEE3EF, 0x00CEE3EF);
    expect_vertical(one.entries[3], 0x00FFE7CE, 0x00EE8269);
    expect_vertical(three.entries[3], 0x00FFE7CE, 0x00EE8269);
    EXPECT_EQ(one.entries[5].top_left, 0x00DEE3E7u);
    EXPECT_EQ(one.entries[5].top_right, 0x00E7E7E7u);
    EXPECT_EQ(one.entries[5].bottom_left, 0x00DEE3E7u);
    expect_vertical(three.entries[5], 0x00C5B2B3, 0x00FBFCFC);
    expect_vertical(one.entries[6], 0x00FBFCFC, 0x00E6EBEC);
    expect_vertical(three.entries[6], 0x00FBFCFC, 0x00D7C5C6);
    EXPECT_EQ(one.edit_frame, 0x00BD9E7Bu);
    EXPECT_EQ(three.edit_frame, 0x00D7C5C6u);
    // Entries 1, 2 and 4 are the same in all three.
    for (int entry : {1, 2, 4}) {
        SCOPED_TRACE(entry);
        for (const Scheme* s : {&one, &three}) {
            EXPECT_EQ(s->entries[entry].top_left, two.entries[entry].top_left);
            EXPECT_EQ(s->entries[entry].top_right, two.entries[entry].top_right);
            EXPECT_EQ(s->entries[entry].bottom_left, two.entries[entry].bottom_left);
            EXPECT_EQ(s->entries[entry].bottom_right, two.entries[entry].bottom_right);
        }
    }
}

TEST(ThemingSchemes, EveryBottomRightCornerCarriesFullAlpha) {
    for (int number : {1, 2, 3}) {
        const Scheme& s = scheme(number);
        for (int entry = 0; entry < 7; ++entry) {
            SCOPED_TRACE("scheme " + std::to_string(number) + " entry " + std::to_string(entry));
            EXPECT_EQ(s.entries[entry].bottom_right >> 24, 0xFFu);
            EXPECT_EQ(s.entries[entry].top_left >> 24, 0u);
            EXPECT_EQ(s.entries[entry].top_right >> 24, 0u);
            EXPECT_EQ(s.entries[entry].bottom_left >> 24, 0u);
        }
    }
}

TEST(ThemingSchemes, UnknownSchemeDrawsLikeSchemeOne) {
    const Scheme& one = scheme(1);
    for (int number : {0, -1, 4, 99, -2147483647 - 1, 2147483647}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(&scheme(number), &one);
    }
    EXPECT_NE(&scheme(2), &one);
    EXPECT_NE(&scheme(3), &one);
}

TEST(ThemingColours, DarkenStepsEachPartWithoutBorrowing) {
    // The button face of Windows' classic and newer looks.
    EXPECT_EQ(darken(0x00F0F0F0, 0x202020), 0x00D0D0D0u);
    EXPECT_EQ(darken(0x00C8D0D4, 0x202020), 0x00A8B0B4u);
    EXPECT_EQ(darken(0x00C8D0D4, 0x151515), 0x00B3BBBFu);
    // A part darker than the step goes to 0 and leaves the others alone.
    EXPECT_EQ(darken(0x00FF10FF, 0x202020), 0x00DF00DFu);
    EXPECT_EQ(darken(0x00000000, 0x111111), 0x00000000u);
    EXPECT_EQ(red(0x007FB9A4), 164);
    EXPECT_EQ(green(0x007FB9A4), 185);
    EXPECT_EQ(blue(0x007FB9A4), 127);
}

struct PlacementCase {
    std::uint32_t style;
    Kind kind;
    std::uint32_t horizontal;
    VerticalPlace vertical;
};

TEST(ThemingText, PlacementFollowsTheAlignmentStyle) {
    using namespace style;
    const PlacementCase cases[] = {
        {kPushButton, Kind::PushButton, draw_text::kCenter, VerticalPlace::Middle},
        {kPushButton | kCenter | kVCenter | kMultiLine, Kind::PushButton, draw_text::kCenter,
         VerticalPlace::Middle},
        {kPushButton | kLeft, Kind::PushButton, draw_text::kLeft, VerticalPlace::Middle},
        {kPushButton | kRight | kTop, Kind::PushButton, draw_text::kRight, VerticalPlace::Top},
        {kPushButton | kBottom, Kind::PushButton, draw_text::kCenter, VerticalPlace::Bottom},
        {kCheckBox, Kind::CheckBox, draw_text::kLeft, VerticalPlace::Top},
        {kCheckBox | kVCenter, Kind::CheckBox, draw_text::kLeft, VerticalPlace::Middle},
        {kRadioButton | kCenter | kBottom, Kind::RadioButton, draw_text::kCenter,
         VerticalPlace::Bottom},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.style);
        const TextPlacement p = text_placement(c.style, c.kind);
        EXPECT_EQ(p.draw_text_flags & 0x3, c.horizontal);
        // Text that does not fit is always broken into lines.
        EXPECT_NE(p.draw_text_flags & draw_text::kWordBreak, 0u);
        EXPECT_EQ(p.vertical, c.vertical);
    }
    EXPECT_EQ(place_vertically(VerticalPlace::Top, 4, 21, 13), 4);
    EXPECT_EQ(place_vertically(VerticalPlace::Middle, 4, 21, 13), 6);
    EXPECT_EQ(place_vertically(VerticalPlace::Bottom, 4, 21, 13), 8);
    // Two lines in a face one line high: centred, they stick out evenly.
    EXPECT_EQ(place_vertically(VerticalPlace::Middle, 4, 21, 26), 0);
}

TEST(ThemingGeometry, GroupBoxFrameAndCaption) {
    EXPECT_EQ(group_frame_top(13), 6);
    EXPECT_EQ(group_frame_top(16), 8);
    EXPECT_EQ(group_frame_top(0), 0);
    EXPECT_EQ(group_caption_left(style::kGroupBox, 200, 40), 9);
    EXPECT_EQ(group_caption_left(style::kGroupBox | style::kLeft, 200, 40), 9);
    EXPECT_EQ(group_caption_left(style::kGroupBox | style::kRight, 200, 40), 150);
    EXPECT_EQ(group_caption_left(style::kGroupBox | style::kCenter, 200, 40), 80);
}

struct MetricsCase {
    int dpi;
    PaintMetrics expected;
};

std::string metrics_name(const ::testing::TestParamInfo<MetricsCase>& info) {
    return "Dpi" + std::to_string(info.param.dpi);
}

class PaintMetricsAtDpi : public ::testing::TestWithParam<MetricsCase> {};

// Outline, frame and focus lines (1 pixel at 96 DPI) and the ring and cleared bands (2 pixels)
// in whole pixels, never thinner than one.
TEST_P(PaintMetricsAtDpi, LinesScaleInWholePixels) {
    EXPECT_EQ(paint_metrics(GetParam().dpi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PaintMetricsAtDpi,
                         ::testing::Values(MetricsCase{96, {1, 2, 2}}, MetricsCase{120, {1, 3, 3}},
                                           MetricsCase{144, {2, 3, 3}}, MetricsCase{192, {2, 4, 4}},
                                           MetricsCase{72, {1, 2, 2}}, MetricsCase{288, {3, 6, 6}}),
                         metrics_name);

TEST(ThemingGeometry, MarkPlaceAndUpDownHalves) {
    EXPECT_EQ(mark_top(style::kCheckBox, 31), 0);
    EXPECT_EQ(mark_top(style::kCheckBox | style::kTop, 31), 0);
    EXPECT_EQ(mark_top(style::kCheckBox | style::kVCenter, 31), 9);
    EXPECT_EQ(mark_top(style::kCheckBox | style::kBottom, 31), 18);

    EXPECT_EQ(updown_half(false, 16, 30, 8, 0), 0);
    EXPECT_EQ(updown_half(false, 16, 30, 8, 14), 0);
    EXPECT_EQ(updown_half(false, 16, 30, 8, 15), 1);
    EXPECT_EQ(updown_half(false, 16, 30, 15, 29), 1);
    EXPECT_EQ(updown_half(true, 30, 16, 14, 15), 0);
    EXPECT_EQ(updown_half(true, 30, 16, 15, 0), 1);
}

TEST(ThemingClassify, ClassNamesCompareWithoutCase) {
    EXPECT_TRUE(same_class(L"msctls_UpDown32", L"MSCTLS_updown32"));
    EXPECT_TRUE(same_class(L"", L""));
    EXPECT_FALSE(same_class(L"Edit", L"Edit "));
    EXPECT_FALSE(same_class(L"Edit", L"Exit"));
}

}  // namespace
}  // namespace tovrelle::theming
