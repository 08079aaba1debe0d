// The period price graph: frame, scale lines, price line and step.
#include "core/period_graph_geometry.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

// The 300 x 200 paint box: plot from (10, 6) to (290, 194), the lowest price at y = 189 and
// 178 pixels up to the highest. Prices, high, low, step, scale line heights, price line.
// clang-format off
const std::tuple<std::vector<std::int64_t>, std::int64_t, std::int64_t, std::int64_t, std::vector<int>,
                 std::vector<graph_point>> ranges[] = {
    {{500}, 500, 500, 0, {189}, {{10, 189}}},
    {{700, 700, 700}, 700, 700, 0, {189}, {{10, 189}, {150, 189}, {290, 189}}},
    {{100, 103}, 103, 100, 1, {189, 130, 71, 11}, {{10, 189}, {290, 11}}},
    {{50, 60}, 60, 50, 2, {189, 154, 118, 83, 47, 11}, {{10, 189}, {290, 11}}}, // range 10
    {{0, 13, 6}, 13, 0, 2, {189, 162, 135, 107, 80, 53, 25}, {{10, 189}, {150, 11}, {290, 107}}}, // none at high
    {{10, 16}, 16, 10, 1, {189, 160, 130, 100, 71, 41, 11}, {{10, 189}, {290, 11}}}}; // range 6
// clang-format on

TEST(period_graph, draws_frame_scale_lines_and_price_line) {
    for (const auto& [prices, high, low, step, level_ys, price_line] : ranges) {
        const period_graph_picture pic = period_graph(300, 200, prices, high, low);
        EXPECT_EQ(pic.white, (std::vector<graph_rect>{{0, 0, 300, 200}, {10, 6, 290, 194}}));
        EXPECT_EQ(pic.axes, (std::vector<graph_segment>{{{10, 6}, {10, 194}}, {{10, 194}, {290, 194}}}));
        EXPECT_EQ(pic.step, step) << high << " to " << low;
        std::vector<graph_segment> levels;
        for (const int y : level_ys)
            levels.push_back({{11, y}, {290, y}});
        EXPECT_EQ(pic.level_lines, levels) << high << " to " << low;
        EXPECT_EQ(pic.price_line, price_line) << high << " to " << low;
    }
}

TEST(period_graph, vertical_lines_stand_between_the_first_and_last_point) {
    // Every point from 2 to 20; then every second; then twenty lines.
    // clang-format off
    const std::pair<int, std::vector<int>> cases[] = {{2, {}},
        {21, {24, 38, 52, 66, 80, 94, 108, 122, 136, 150, 164, 178, 192, 206, 220, 234, 248, 262, 276}},
        {22, {23, 50, 76, 103, 130, 156, 183, 210, 236, 263}},
        {60, {14, 28, 43, 57, 71, 85, 100, 114, 128, 142, 157, 171, 185, 199, 214, 228, 242, 256, 271, 285}}};
    // clang-format on
    for (const auto& [n, xs] : cases) {
        const period_graph_picture pic =
            period_graph(300, 200, std::vector<std::int64_t>(std::size_t(n), 100), 106, 100);
        std::vector<graph_segment> lines;
        for (const int x : xs)
            lines.push_back({{x, 6}, {x, 194}});
        EXPECT_EQ(pic.point_lines, lines) << n << " points";
        EXPECT_EQ(pic.price_line.back(), (graph_point{290, 189})) << n << " points";
    }
}

} // namespace
} // namespace kozenica
