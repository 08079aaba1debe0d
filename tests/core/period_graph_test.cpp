// The period price graph: margins, axes, scale lines, price line and step.
#include "core/period_graph_geometry.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

// The 300 x 200 paint box: mx = 10, my = 6, right = 290, bottom = 194, and 178
// pixels between the lowest and the highest price.
constexpr int W = 300, H = 200;

TEST(period_graph, frame_is_white_with_black_axes) {
    const period_graph_picture pic = period_graph(W, H, {500}, 500, 500);
    EXPECT_EQ(pic.white, (std::vector<graph_rect>{{0, 0, 300, 200}, {10, 6, 290, 194}}));
    EXPECT_EQ(pic.axes, (std::vector<graph_segment>{{{10, 6}, {10, 194}}, {{10, 194}, {290, 194}}}));
}

struct level_case {
    const char* title;
    std::vector<std::int64_t> prices;
    std::int64_t high, low, step;
    std::vector<int> level_ys;
    std::vector<graph_point> price_line;
};

class level_table : public ::testing::TestWithParam<level_case> {};

TEST_P(level_table, places_the_scale_lines_and_the_price_line) {
    const level_case& c = GetParam();
    const period_graph_picture pic = period_graph(W, H, c.prices, c.high, c.low);
    EXPECT_EQ(pic.step, c.step);
    std::vector<int> ys;
    for (const graph_segment& s : pic.level_lines) {
        EXPECT_EQ(s, (graph_segment{{11, s.from.y}, {290, s.from.y}}));
        ys.push_back(s.from.y);
    }
    EXPECT_EQ(ys, c.level_ys);
    EXPECT_EQ(pic.price_line, c.price_line);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ranges, level_table, ::testing::Values(
    level_case{"one_point", {500}, 500, 500, 0, {189}, {{10, 189}}},
    level_case{"all_prices_equal", {700, 700, 700}, 700, 700, 0, {189}, {{10, 189}, {150, 189}, {290, 189}}},
    level_case{"range_3_step_1", {100, 103}, 103, 100, 1, {189, 130, 71, 11}, {{10, 189}, {290, 11}}},
    level_case{"range_10_six_lines", {50, 60}, 60, 50, 2, {189, 154, 118, 83, 47, 11}, {{10, 189}, {290, 11}}},
    level_case{"range_13_none_at_high", {0, 13, 6}, 13, 0, 2, {189, 162, 135, 107, 80, 53, 25},
               {{10, 189}, {150, 11}, {290, 107}}},
    level_case{"range_6_seven_lines", {10, 16}, 16, 10, 1, {189, 160, 130, 100, 71, 41, 11}, {{10, 189}, {290, 11}}},
    level_case{"range_5_step_1", {0, 5}, 5, 0, 1, {189, 154, 118, 83, 47, 11}, {{10, 189}, {290, 11}}},
    level_case{"negative_prices", {-20, -10}, -10, -20, 2, {189, 154, 118, 83, 47, 11}, {{10, 189}, {290, 11}}},
    level_case{"price_0_is_the_lowest", {300, 0, 300}, 300, 0, 60, {189, 154, 118, 83, 47, 11},
               {{10, 11}, {150, 189}, {290, 11}}}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

struct vertical_case {
    int n;
    std::vector<int> xs;
};

class vertical_table : public ::testing::TestWithParam<vertical_case> {};

TEST_P(vertical_table, stand_between_the_first_and_last_point) {
    const int n = GetParam().n;
    const period_graph_picture pic =
        period_graph(W, H, std::vector<std::int64_t>(std::size_t(n), 100), 106, 100);
    std::vector<int> xs;
    for (const graph_segment& s : pic.point_lines) {
        EXPECT_EQ(s, (graph_segment{{s.from.x, 6}, {s.from.x, 194}}));
        xs.push_back(s.from.x);
    }
    EXPECT_EQ(xs, GetParam().xs);
    ASSERT_EQ(pic.price_line.size(), std::size_t(n));
    if (n >= 2) {
        EXPECT_EQ(pic.price_line.back().x, 290);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(counts, vertical_table, ::testing::Values(
    vertical_case{1, {}}, vertical_case{2, {}}, vertical_case{3, {150}},
    // s = 1: points 2 to 20, 14 pixels apart.
    vertical_case{21, {24, 38, 52, 66, 80, 94, 108, 122, 136, 150, 164, 178, 192, 206, 220, 234, 248, 262, 276}},
    // s = 2: points 2, 4 ... 20, 280/21 pixels apart.
    vertical_case{22, {23, 50, 76, 103, 130, 156, 183, 210, 236, 263}},
    // s = 3: twenty lines.
    vertical_case{60, {14, 28, 43, 57, 71, 85, 100, 114, 128, 142, 157, 171, 185, 199, 214, 228, 242, 256, 271, 285}}));
// clang-format on

TEST(period_graph, wrong_highest_and_lowest_stay_finite) {
    // Prices far outside high and low draw off the box; no overflow.
    const period_graph_picture pic = period_graph(W, H, {2147483647, -2147483647 - 1}, 1, 0);
    EXPECT_LT(pic.price_line[0].y, 0);
    EXPECT_GT(pic.price_line[1].y, H);
    const period_graph_picture upside_down = period_graph(W, H, {5, 10}, 5, 10);
    EXPECT_EQ(upside_down.step, 0);
    EXPECT_TRUE(upside_down.level_lines.empty());
}

TEST(period_graph, grid_texts_read_as_plain_integers) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"1280", 1280}, {"-35", -35}, {" 42 ", 42}, {"", 0}, {"1,280", 0}, {"12.5", 0}, {"2147483648", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(graph_integer(text), value) << text;
}

} // namespace
} // namespace kozenica
