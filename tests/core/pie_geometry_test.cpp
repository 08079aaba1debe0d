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

INSTANTIATE_TEST_SUITE_P(boxes, pie_square_table,
                         ::testing::Values(square_case{200, 200, {0, 0, 200, 200, 100, 100}},
                                           square_case{300, 200, {50, 0, 250, 200, 150, 100}}, // wide
                                           square_case{200, 300, {0, 50, 200, 250, 100, 150}}, // tall
                                           square_case{201, 100, {50, 0, 150, 100, 100, 50}},  // odd margin
                                           square_case{101, 101, {0, 0, 101, 101, 50, 50}},    // odd side
                                           square_case{0, 50, {0, 25, 0, 25, 0, 25}}));        // empty box

struct end_point_case {
    double s;
    pie_point expected;
};

class pie_end_point_table : public ::testing::TestWithParam<end_point_case> {};

// On the 200-pixel square one percent is 4 pixels along each axis.
TEST_P(pie_end_point_table, walks_the_diamond_clockwise) {
    const pie_square sq = pie_square_for(200, 200);
    EXPECT_EQ(pie_end_point(sq, GetParam().s), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(percentages, pie_end_point_table,
                         ::testing::Values(end_point_case{0, {100, 0}}, end_point_case{10, {140, 40}},
                                           end_point_case{25, {200, 100}}, end_point_case{30, {180, 120}},
                                           end_point_case{50, {100, 200}}, end_point_case{60, {60, 160}},
                                           end_point_case{75, {0, 100}}, end_point_case{90, {60, 40}},
                                           end_point_case{99.5, {98, 2}}, end_point_case{100, {100, 0}},
                                           end_point_case{100.01, {100, 0}}, end_point_case{250, {100, 0}}));

TEST(pie_end_point, rounds_halves_to_even) {
    // 250 pixels: 5 pixels per percent, so 12.5 percent falls on 62.5 pixels.
    const pie_square sq = pie_square_for(250, 250);
    EXPECT_EQ(pie_end_point(sq, 12.5), (pie_point{125 + 62, 62}));
    EXPECT_EQ(pie_end_point(sq, 37.5), (pie_point{250 - 62, 188}));
    EXPECT_EQ(pie_end_point(sq, 0.1), (pie_point{125, 0})); // half a pixel rounds to 0
}

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

std::vector<std::string> twenty_fives(int n) {
    return std::vector<std::string>(static_cast<std::size_t>(n), "5.00");
}

INSTANTIATE_TEST_SUITE_P(
    pies, pie_table,
    ::testing::Values(
        pie_case{"one_row_is_a_full_disc", 200, 200, {"100.00"}, {{1, {100, 0}, {100, 0}, true}}, 1},
        pie_case{"halves_right_then_left",
                 200,
                 200,
                 {"50.00", "50.00"},
                 {{1, {100, 0}, {100, 200}, false}, {2, {100, 200}, {100, 0}, false}},
                 2},
        pie_case{"rows_below_one_percent_get_nothing",
                 200,
                 200,
                 {"60.00", "39.50", "0.50", "0.00"},
                 {{1, {100, 0}, {60, 160}, false}, {2, {60, 160}, {98, 2}, false}},
                 2},
        pie_case{"sum_of_100_01_ends_at_twelve",
                 200,
                 200,
                 {"33.34", "33.34", "33.33"},
                 {{1, {100, 0}, {167, 133}, false},
                  {2, {167, 133}, {33, 133}, false},
                  {3, {33, 133}, {100, 0}, false}},
                 3},
        pie_case{"wide_box_centres_horizontally",
                 300,
                 200,
                 {"25.00", "75.00"},
                 {{1, {150, 0}, {250, 100}, false}, {2, {250, 100}, {150, 0}, false}},
                 2},
        pie_case{"tall_box_centres_vertically",
                 200,
                 300,
                 {"75.00", "25.00"},
                 {{1, {100, 50}, {0, 150}, false}, {2, {0, 150}, {100, 50}, false}},
                 2},
        pie_case{"slice_too_thin_for_a_small_circle_is_left_out",
                 20,
                 20,
                 {"98.00", "1.00", "1.00"},
                 {{1, {10, 0}, {9, 1}, false}, {2, {9, 1}, {10, 0}, false}},
                 3},
        pie_case{"texts_that_are_no_number_get_nothing", 200, 200, {"abc", ""}, {}, std::nullopt},
        pie_case{"no_rows", 200, 200, {}, {}, std::nullopt}),
    [](const ::testing::TestParamInfo<pie_case>& info) { return std::string(info.param.title); });

TEST(pie_geometry, at_most_17_rows_get_slices) {
    const pie_picture pic = pie_geometry(200, 200, twenty_fives(20));
    ASSERT_EQ(pic.wedges.size(), 17u);
    EXPECT_EQ(pic.legend_row_count, 17);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(pic.wedges[static_cast<std::size_t>(i)].color, i + 1);
    // The 17th slice ends at 85 percent: 10 percent into the last quarter.
    EXPECT_EQ(pic.wedges.back().to, (pie_point{40, 60}));
    ASSERT_EQ(pic.legend.size(), 17u);
    EXPECT_EQ(pic.legend.back(), (legend_row{16, 17}));
}

TEST(pie_geometry, legend_rows_follow_the_table_rows_that_got_slices) {
    const pie_picture pic = pie_geometry(200, 200, {"70.00", "29.10", "0.90"});
    EXPECT_EQ(pic.legend, (std::vector<legend_row>{{0, 1}, {1, 2}}));
}

struct arc_case {
    pie_wedge wedge;
    pie_arc expected; // sixteenths of a degree, counter-clockwise from three o'clock
};

class pie_arc_table : public ::testing::TestWithParam<arc_case> {};

TEST_P(pie_arc_table, turns_clockwise_wedges_into_counter_clockwise_arcs) {
    EXPECT_EQ(pie_arc_for(pie_square_for(200, 200), GetParam().wedge), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(arcs, pie_arc_table,
                         ::testing::Values(arc_case{{1, {100, 0}, {100, 0}, true}, {0, 5760}},
                                           // Twelve to six o'clock clockwise: the right half.
                                           arc_case{{1, {100, 0}, {100, 200}, false}, {270 * 16, 180 * 16}},
                                           arc_case{{2, {100, 200}, {100, 0}, false}, {90 * 16, 180 * 16}},
                                           // Twelve to three o'clock: the top right quarter.
                                           arc_case{{1, {100, 0}, {200, 100}, false}, {0, 90 * 16}},
                                           arc_case{{1, {200, 100}, {0, 100}, false}, {180 * 16, 180 * 16}}));

struct ratio_value_case {
    const char* text;
    double value;
};

class ratio_value_table : public ::testing::TestWithParam<ratio_value_case> {};

TEST_P(ratio_value_table, reads_the_number_or_0) {
    EXPECT_EQ(ratio_value(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(texts, ratio_value_table,
                         ::testing::Values(ratio_value_case{"12.50", 12.5}, ratio_value_case{" 3.00 ", 3.0},
                                           ratio_value_case{"100.00", 100.0},
                                           ratio_value_case{"-5.25", -5.25}, ratio_value_case{"", 0.0},
                                           ratio_value_case{"12.5x", 0.0}, ratio_value_case{"abc", 0.0},
                                           ratio_value_case{"nan", 0.0}));

TEST(pie_color_table, has_silver_and_gray_twice) {
    EXPECT_EQ(pie_color_table[1], (rgb{0, 255, 255}));
    EXPECT_EQ(pie_color_table[13], pie_color_table[15]);
    EXPECT_EQ(pie_color_table[12], pie_color_table[17]);
    EXPECT_EQ(pie_color_table[14], (rgb{255, 255, 255}));
    EXPECT_EQ(legend_color(0), pie_color_table[1]);
    EXPECT_EQ(legend_color(16), pie_color_table[17]);
    EXPECT_EQ(legend_color(17), (rgb{0, 0, 0}));
    EXPECT_EQ(legend_color(-1), (rgb{0, 0, 0}));
}

} // namespace
} // namespace kozenica
