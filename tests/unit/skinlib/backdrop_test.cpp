// What the skin paints behind a window: the background, then the bands line by line.
#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "skinlib/format/backdrop.h"
#include "tests/support/case_names.h"

namespace skinh {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

TEST(PlanBackdrop, BackgroundCoversTheWholeArea) {
    const Skin skin{0x00F5E6D6, {}};
    EXPECT_EQ(plan_backdrop(skin, 394, 221), (std::vector<Fill>{{0, 0, 394, 221, 0x00F5E6D6}}));
}

TEST(PlanBackdrop, EmptyAreaPaintsNothing) {
    const Skin skin{kWhite, {Band{Edge::kTop, 3, kBlack, kWhite}}};
    EXPECT_TRUE(plan_backdrop(skin, 0, 10).empty());
    EXPECT_TRUE(plan_backdrop(skin, 10, 0).empty());
    EXPECT_TRUE(plan_backdrop(skin, -5, 10).empty());
}

struct EdgeCase {
    Edge edge;
    std::vector<Fill> lines;  // after the background, on a 10 x 8 area
};

const char* edge_name(Edge e) {
    switch (e) {
        case Edge::kTop:
            return "top";
        case Edge::kBottom:
            return "bottom";
        case Edge::kLeft:
            return "left";
        case Edge::kRight:
            return "right";
    }
    return "unknown";
}

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const EdgeCase& c, std::ostream* os) {
    *os << edge_name(c.edge);
}

class BandEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(BandEdgeTest, LinesRunFromTheEdgeInwards) {
    const Skin skin{0x123456, {Band{GetParam().edge, 3, kBlack, kWhite}}};
    std::vector<Fill> expected{{0, 0, 10, 8, 0x123456}};
    expected.insert(expected.end(), GetParam().lines.begin(), GetParam().lines.end());
    EXPECT_EQ(plan_backdrop(skin, 10, 8), expected);
}

constexpr std::uint32_t kMid = 0x808080;  // 127.5 rounded up

INSTANTIATE_TEST_SUITE_P(
    Table, BandEdgeTest,
    ::testing::Values(
        EdgeCase{Edge::kTop, {{0, 0, 10, 1, kBlack}, {0, 1, 10, 2, kMid}, {0, 2, 10, 3, kWhite}}},
        EdgeCase{Edge::kBottom,
                 {{0, 7, 10, 8, kBlack}, {0, 6, 10, 7, kMid}, {0, 5, 10, 6, kWhite}}},
        EdgeCase{Edge::kLeft, {{0, 0, 1, 8, kBlack}, {1, 0, 2, 8, kMid}, {2, 0, 3, 8, kWhite}}},
        EdgeCase{Edge::kRight, {{9, 0, 10, 8, kBlack}, {8, 0, 9, 8, kMid}, {7, 0, 8, 8, kWhite}}}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) {
        return ::tovrelle::test::case_name(info.index, edge_name(info.param.edge));
    });

TEST(PlanBackdrop, BandThickerThanTheAreaIsCutButKeepsItsGradient) {
    const Skin skin{kWhite, {Band{Edge::kBottom, 5, 0x000000, 0x040404}}};
    EXPECT_EQ(plan_backdrop(skin, 4, 3), (std::vector<Fill>{{0, 0, 4, 3, kWhite},
                                                            {0, 2, 4, 3, 0x000000},
                                                            {0, 1, 4, 2, 0x010101},
                                                            {0, 0, 4, 1, 0x020202}}));
}

TEST(PlanBackdrop, BandsArePaintedInFileOrderOverTheBackground) {
    const Skin skin{
        kWhite,
        {Band{Edge::kTop, 1, 0x0000FF, 0x0000FF}, Band{Edge::kLeft, 1, 0x00FF00, 0x00FF00}}};
    EXPECT_EQ(
        plan_backdrop(skin, 2, 2),
        (std::vector<Fill>{{0, 0, 2, 2, kWhite}, {0, 0, 2, 1, 0x0000FF}, {0, 0, 1, 2, 0x00FF00}}));
}

TEST(RenderBackdrop, PixelsRowByRowFromTheTop) {
    const Skin skin{
        0x111111,
        {Band{Edge::kBottom, 2, 0x222222, 0x333333}, Band{Edge::kRight, 1, 0x444444, 0x444444}}};
    EXPECT_EQ(render_backdrop(skin, 3, 4),
              (std::vector<std::uint32_t>{0x111111, 0x111111, 0x444444,  //
                                          0x111111, 0x111111, 0x444444,  //
                                          0x333333, 0x333333, 0x444444,  //
                                          0x222222, 0x222222, 0x444444}));
    EXPECT_TRUE(render_backdrop(skin, 0, 4).empty());
}

TEST(GradientColour, EndsChannelsAndRounding) {
    // One line: the outer colour. The first and last lines: the two ends.
    EXPECT_EQ(gradient_colour(0x102030, 0xFFFFFF, 0, 1), 0x102030u);
    EXPECT_EQ(gradient_colour(0x102030, 0xA0B0C0, 0, 28), 0x102030u);
    EXPECT_EQ(gradient_colour(0x102030, 0xA0B0C0, 27, 28), 0xA0B0C0u);
    // Each channel on its own: red rises while blue falls.
    EXPECT_EQ(gradient_colour(0xFF0000, 0x0000FF, 1, 3), 0x800080u);
    EXPECT_EQ(gradient_colour(0x0000FF, 0xFF0000, 1, 3), 0x800080u);
    // A gradient and its reverse give the same colours.
    for (int step = 0; step < 7; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(gradient_colour(0x2E5EA0, 0xF5E6D6, step, 7),
                  gradient_colour(0xF5E6D6, 0x2E5EA0, 6 - step, 7));
    }
    // One third of the way from 0 to 10 is 3.33, two thirds 6.67.
    EXPECT_EQ(gradient_colour(0x000000, 0x0A0A0A, 1, 4), 0x030303u);
    EXPECT_EQ(gradient_colour(0x000000, 0x0A0A0A, 2, 4), 0x070707u);
}

}  // namespace
}  // namespace skinh
