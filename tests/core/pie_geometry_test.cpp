// The pie of the monthly summary: square, end points, wedges and legend rows.
#include "core/pie_geometry.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

struct square_case {
    int width, height;
    pie_square expected;
};

class pie_square_table : public ::testing::TestWithParam<square_case> {};

TEST_P(pie_square_table, is_the_largest_centred_square) {
    EXPECT_EQ(pie_square_for(GetParam().width, GetParam().height), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(boxes, pie_square_table, ::testing::Values(
    square_case{200, 200, {0, 0, 200, 200, 100, 100}},
    square_case{300, 200, {50, 0, 250, 200, 150, 100}},   // wide: centred horizontally
    square_case{200, 300, {0, 50, 200, 250, 100, 150}},   // tall: centred vertically
    square_case{201, 100, {50, 0, 150, 100, 100, 50}},
    square_case{101, 101, {0, 0, 101, 101, 50, 50}},
    square_case{0, 50, {0, 25, 0, 25, 0, 25}}));
// clang-format on

struct end_point_case {
    int side;
    double s;
    pie_point expected;
};

class pie_end_point_table : public ::testing::TestWithParam<end_point_case> {};

TEST_P(pie_end_point_table, walks_the_diamond_clockwise) {
    EXPECT_EQ(pie_end_point(pie_square_for(GetParam().side, GetParam().side), GetParam().s),
              GetParam().expected);
}

// On the 200-pixel square one percent is 4 pixels along each axis; on the
// 250-pixel square 5, so that 12.5 percent falls on 62.5 pixels (to even: 62).
// clang-format off
INSTANTIATE_TEST_SUITE_P(percentages, pie_end_point_table, ::testing::Values(
    end_point_case{200, 0, {100, 0}}, end_point_case{200, 10, {140, 40}}, end_point_case{200, 25, {200, 100}},
    end_point_case{200, 30, {180, 120}}, end_point_case{200, 50, {100, 200}}, end_point_case{200, 60, {60, 160}},
    end_point_case{200, 75, {0, 100}}, end_point_case{200, 90, {60, 40}}, end_point_case{200, 99.5, {98, 2}},
    end_point_case{200, 100, {100, 0}}, end_point_case{200, 100.01, {100, 0}}, end_point_case{200, 250, {100, 0}},
    end_point_case{250, 12.5, {187, 62}}, end_point_case{250, 37.5, {188, 188}}, end_point_case{250, 0.1, {125, 0}}));
// clang-format on

struct pie_case {
    const char* title;
    int width, height;
    std::vector<std::string> ratios;
    std::vector<pie_wedge> wedges;
    std::optional<int> legend_rows;
};

class pie_table : public ::testing::TestWithParam<pie_case> {};

TEST_P(pie_table, draws_the_slices_and_legend) {
    const pie_case& c = GetParam();
    const pie_picture pic = pie_geometry(c.width, c.height, c.ratios);
    EXPECT_EQ(pic.wedges, c.wedges);
    EXPECT_EQ(pic.legend_row_count, c.legend_rows);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(pies, pie_table, ::testing::Values(
    pie_case{"one_row_is_a_full_disc", 200, 200, {"100.00"}, {{1, {100, 0}, {100, 0}, true}}, 1},
    pie_case{"halves_right_then_left", 200, 200, {"50.00", "50.00"},
             {{1, {100, 0}, {100, 200}, false}, {2, {100, 200}, {100, 0}, false}}, 2},
    pie_case{"rows_below_one_percent_get_nothing", 200, 200, {"60.00", "39.50", "0.50", "0.00"},
             {{1, {100, 0}, {60, 160}, false}, {2, {60, 160}, {98, 2}, false}}, 2},
    pie_case{"sum_of_100_01_ends_at_twelve", 200, 200, {"33.34", "33.34", "33.33"},
             {{1, {100, 0}, {167, 133}, false}, {2, {167, 133}, {33, 133}, false}, {3, {33, 133}, {100, 0}, false}}, 3},
    pie_case{"wide_box", 300, 200, {"25.00", "75.00"},
             {{1, {150, 0}, {250, 100}, false}, {2, {250, 100}, {150, 0}, false}}, 2},
    pie_case{"tall_box", 200, 300, {"75.00", "25.00"},
             {{1, {100, 50}, {0, 150}, false}, {2, {0, 150}, {100, 50}, false}}, 2},
    // On a 20-pixel circle the last 1 percent has no width: it is left out, not
    // painted as a whole disc over the others.
    pie_case{"slice_too_thin_for_a_small_circle", 20, 20, {"98.00", "1.00", "1.00"},
             {{1, {10, 0}, {9, 1}, false}, {2, {9, 1}, {10, 0}, false}}, 3},
    pie_case{"texts_that_are_no_number", 200, 200, {"abc", "", "12.5x"}, {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

TEST(pie_geometry, at_most_17_rows_get_slices) {
    const pie_picture pic = pie_geometry(200, 200, std::vector<std::string>(20, "5.00"));
    ASSERT_EQ(pic.wedges.size(), 17u);
    EXPECT_EQ(pic.legend_row_count, 17);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(pic.wedges[static_cast<std::size_t>(i)].color, i + 1);
    EXPECT_EQ(pic.wedges.back().to, (pie_point{40, 60})); // 85 percent
    EXPECT_EQ(pic.legend.back(), (legend_row{16, 17}));
}

struct arc_case {
    pie_wedge wedge;
    pie_arc expected; // sixteenths of a degree, counter-clockwise from three o'clock
};

class pie_arc_table : public ::testing::TestWithParam<arc_case> {};

TEST_P(pie_arc_table, turns_clockwise_wedges_into_counter_clockwise_arcs) {
    EXPECT_EQ(pie_arc_for(pie_square_for(200, 200), GetParam().wedge), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(arcs, pie_arc_table, ::testing::Values(
    arc_case{{1, {100, 0}, {100, 0}, true}, {0, 5760}},
    arc_case{{1, {100, 0}, {100, 200}, false}, {270 * 16, 180 * 16}},   // twelve to six: right half
    arc_case{{2, {100, 200}, {100, 0}, false}, {90 * 16, 180 * 16}},    // six to twelve: left half
    arc_case{{1, {100, 0}, {200, 100}, false}, {0, 90 * 16}},           // twelve to three
    arc_case{{1, {200, 100}, {0, 100}, false}, {180 * 16, 180 * 16}})); // three to nine: lower half
// clang-format on

TEST(pie_colors, legend_row_r_shows_entry_r_plus_1) {
    EXPECT_EQ(legend_color(0), (rgb{0, 255, 255}));
    EXPECT_EQ(legend_color(12), legend_color(14)); // silver twice
    EXPECT_EQ(legend_color(16), (rgb{128, 128, 128}));
    EXPECT_EQ(legend_color(17), (rgb{0, 0, 0}));
    EXPECT_EQ(ratio_value(" 3.50 "), 3.5);
}

} // namespace
} // namespace kozenica
