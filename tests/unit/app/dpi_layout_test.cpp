// The window definition at the DPIs of 100, 125, 150 and 200 % display scaling, the font for a
// DPI, and the line widths the painting uses.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

#include "app/window_def.h"
#include "base/dpi_scale.h"

namespace tovrelle {
namespace {

struct LayoutCase {
    int dpi;
    PixelRect window;  // left and top: the defined position, which centring replaces
    // The controls that show, by identity.
    std::map<Identity, PixelRect> controls;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.dpi << " DPI";
}

std::string layout_name(const ::testing::TestParamInfo<LayoutCase>& info) {
    return "Dpi" + std::to_string(info.param.dpi);
}

class LayoutAtDpi : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutAtDpi, WindowAndEveryControlAtTheirScaledRects) {
    const LayoutCase& c = GetParam();
    const WindowDef& def = main_window_def();
    EXPECT_EQ(window_rect(def, c.dpi), c.window);
    int checked = 0;
    for (const ControlDef& control : def.controls) {
        if (control.kind == ControlKind::Timer) {
            continue;
        }
        auto it = c.controls.find(control.id);
        ASSERT_NE(it, c.controls.end()) << "a control missing from the table";
        const PixelRect got = control_rect(control, c.dpi);
        EXPECT_EQ(got, it->second) << "control 0x" << std::hex << control.id;
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(c.controls.size()));
}

using namespace ids;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, LayoutAtDpi, ::testing::Values(
    LayoutCase{96, {50, 50, 400, 250}, {
        {按钮1, {8, 40, 80, 25}},     {按钮2, {8, 72, 80, 25}},      {按钮5, {8, 104, 80, 25}},
        {编辑框1, {152, 104, 40, 20}}, {透明标签2, {200, 104, 20, 20}},
        {编辑框2, {232, 104, 40, 20}}, {透明标签3, {280, 104, 20, 20}},
        {编辑框3, {304, 104, 40, 20}}, {透明标签4, {360, 104, 20, 20}},
        {按钮3, {208, 168, 80, 25}},   {按钮4, {304, 168, 80, 25}},
        {分组框1, {0, -8, 400, 40}},   {透明标签1, {8, 16, 384, 16}}}},
    // 125 %: quarters round to the nearest pixel (25 * 1.25 = 31.25 -> 31).
    LayoutCase{120, {63, 63, 500, 313}, {
        {按钮1, {10, 50, 100, 31}},    {按钮2, {10, 90, 100, 31}},    {按钮5, {10, 130, 100, 31}},
        {编辑框1, {190, 130, 50, 25}}, {透明标签2, {250, 130, 25, 25}},
        {编辑框2, {290, 130, 50, 25}}, {透明标签3, {350, 130, 25, 25}},
        {编辑框3, {380, 130, 50, 25}}, {透明标签4, {450, 130, 25, 25}},
        {按钮3, {260, 210, 100, 31}},  {按钮4, {380, 210, 100, 31}},
        {分组框1, {0, -10, 500, 50}},  {透明标签1, {10, 20, 480, 20}}}},
    // 150 %: halves round up (25 * 1.5 = 37.5 -> 38).
    LayoutCase{144, {75, 75, 600, 375}, {
        {按钮1, {12, 60, 120, 38}},    {按钮2, {12, 108, 120, 38}},   {按钮5, {12, 156, 120, 38}},
        {编辑框1, {228, 156, 60, 30}}, {透明标签2, {300, 156, 30, 30}},
        {编辑框2, {348, 156, 60, 30}}, {透明标签3, {420, 156, 30, 30}},
        {编辑框3, {456, 156, 60, 30}}, {透明标签4, {540, 156, 30, 30}},
        {按钮3, {312, 252, 120, 38}},  {按钮4, {456, 252, 120, 38}},
        {分组框1, {0, -12, 600, 60}},  {透明标签1, {12, 24, 576, 24}}}},
    LayoutCase{192, {100, 100, 800, 500}, {
        {按钮1, {16, 80, 160, 50}},    {按钮2, {16, 144, 160, 50}},   {按钮5, {16, 208, 160, 50}},
        {编辑框1, {304, 208, 80, 40}}, {透明标签2, {400, 208, 40, 40}},
        {编辑框2, {464, 208, 80, 40}}, {透明标签3, {560, 208, 40, 40}},
        {编辑框3, {608, 208, 80, 40}}, {透明标签4, {720, 208, 40, 40}},
        {按钮3, {416, 336, 160, 50}},  {按钮4, {608, 336, 160, 50}},
        {分组框1, {0, -16, 800, 80}},  {透明标签1, {16, 32, 768, 32}}}}),
    layout_name);
// clang-format on

// ---- rounding ----

struct RoundCase {
    int value, numerator, denominator, expected;
};

std::string round_name(const ::testing::TestParamInfo<RoundCase>& info) {
    const auto part = [](int v) { return (v < 0 ? "Minus" : "") + std::to_string(v < 0 ? -v : v); };
    const RoundCase& c = info.param;
    return part(c.value) + "Times" + part(c.numerator) + "Over" + part(c.denominator);
}

class MulDivRound : public ::testing::TestWithParam<RoundCase> {};

TEST_P(MulDivRound, NearestWholeNumberHalvesAwayFromZero) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(mul_div_round(c.value, c.numerator, c.denominator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MulDivRound,
                         ::testing::Values(RoundCase{25, 144, 96, 38}, RoundCase{-25, 144, 96, -38},
                                           RoundCase{25, 120, 96, 31}, RoundCase{-8, 144, 96, -12},
                                           RoundCase{1, 120, 96, 1}, RoundCase{1, 144, 96, 2},
                                           RoundCase{3, 2, -4, -2}, RoundCase{7, 1, 0, 0}),
                         round_name);

// ---- font size for a DPI ----

struct FontCase {
    int height, font_dpi, dpi, expected;
};

std::string font_name(const ::testing::TestParamInfo<FontCase>& info) {
    const int h = info.param.height;
    return (h < 0 ? "Height" : "PositiveHeight") + std::to_string(h < 0 ? -h : h) + "At" +
           std::to_string(info.param.font_dpi) + "To" + std::to_string(info.param.dpi);
}

class FontForDpi : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontForDpi, SamePointSizeOnTheOtherDisplay) {
    const FontCase& c = GetParam();
    EXPECT_EQ(font_height_for_dpi(c.height, c.font_dpi, c.dpi), c.expected);
}

// The stock GUI font of Windows is -11 at 96 DPI (8 points); made at 144 DPI a system has it
// at -16 or -17 depending on its own rounding, and the program scales whatever it is given.
INSTANTIATE_TEST_SUITE_P(Table, FontForDpi,
                         ::testing::Values(FontCase{-11, 96, 96, -11}, FontCase{-11, 96, 120, -14},
                                           FontCase{-11, 96, 144, -17}, FontCase{-11, 96, 192, -22},
                                           FontCase{-16, 144, 96, -11},
                                           FontCase{-16, 144, 192, -21}, FontCase{12, 96, 144, 18}),
                         font_name);

// ---- line widths ----

struct LineCase {
    int width, dpi, expected;
};

std::string line_name(const ::testing::TestParamInfo<LineCase>& info) {
    return "Width" + std::to_string(info.param.width) + "Dpi" + std::to_string(info.param.dpi);
}

class LineWidth : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineWidth, WholePixelsNeverThinnerThanOne) {
    const LineCase& c = GetParam();
    EXPECT_EQ(line_width(c.width, c.dpi), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LineWidth,
                         ::testing::Values(LineCase{1, 96, 1}, LineCase{1, 120, 1},
                                           LineCase{1, 144, 2}, LineCase{1, 192, 2},
                                           LineCase{2, 96, 2}, LineCase{2, 120, 3},
                                           LineCase{2, 144, 3}, LineCase{2, 192, 4},
                                           LineCase{1, 48, 1}, LineCase{0, 144, 1}),
                         line_name);

// ---- names for screen readers ----

TEST(AccessibleName, EachEditBoxIsNamedByTheUnitAfterIt) {
    const WindowDef& def = main_window_def();
    EXPECT_EQ(accessible_name(def, ids::编辑框1), L"时");
    EXPECT_EQ(accessible_name(def, ids::编辑框2), L"分");
    EXPECT_EQ(accessible_name(def, ids::编辑框3), L"秒");
    for (const ControlDef& c : def.controls) {
        if (c.kind != ControlKind::Edit) {
            EXPECT_TRUE(accessible_name(def, c.id).empty()) << std::hex << c.id;
        }
    }
    EXPECT_TRUE(accessible_name(def, 0x12345678).empty());
}

}  // namespace
}  // namespace tovrelle
