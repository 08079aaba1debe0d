// The pie of the monthly summary: square, wedge end points and legend rows.
#include "core/pie_geometry.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

struct pie_case {
    const char* title;
    int width, height;
    std::vector<std::string> ratios;
    std::vector<pie_wedge> wedges;
    std::optional<int> legend_rows;
};

// On a 200-pixel square one percent is 4 pixels along each axis.
// clang-format off
const pie_case pies[] = {
    {"one row is a full disc", 200, 200, {"100.00"}, {{1, {100, 0}, {100, 0}, true}}, 1},
    {"halves right then left", 200, 200, {"50.00", "50.00"},
     {{1, {100, 0}, {100, 200}, false}, {2, {100, 200}, {100, 0}, false}}, 2},
    {"rows below one percent get nothing", 200, 200, {"60.00", "39.50", "0.50", "0.00"},
     {{1, {100, 0}, {60, 160}, false}, {2, {60, 160}, {98, 2}, false}}, 2},
    {"a sum of 100.01 ends at twelve", 200, 200, {"33.34", "33.34", "33.33"},
     {{1, {100, 0}, {167, 133}, false}, {2, {167, 133}, {33, 133}, false}, {3, {33, 133}, {100, 0}, false}}, 3},
    {"wide box", 300, 200, {"25.00", "75.00"}, {{1, {150, 0}, {250, 100}, false}, {2, {250, 100}, {150, 0}, false}}, 2},
    {"tall box", 200, 300, {"75.00", "25.00"}, {{1, {100, 50}, {0, 150}, false}, {2, {0, 150}, {100, 50}, false}}, 2},
    {"texts that are no number", 200, 200, {"abc", "", "12.5x"}, {}, std::nullopt}};
// clang-format on

TEST(pie_geometry, draws_the_slices_and_legend) {
    for (const pie_case& c : pies) {
        const pie_picture pic = pie_geometry(c.width, c.height, c.ratios);
        EXPECT_EQ(pic.wedges, c.wedges) << c.title;
        EXPECT_EQ(pic.legend_row_count, c.legend_rows) << c.title;
    }
}

TEST(pie_geometry, at_most_17_rows_get_slices) {
    const pie_picture pic = pie_geometry(200, 200, std::vector<std::string>(20, "5.00"));
    ASSERT_EQ(pic.wedges.size(), 17u);
    EXPECT_EQ(pic.wedges.back(), (pie_wedge{17, {20, 80}, {40, 60}, false})); // 80 to 85 percent
    EXPECT_EQ(pic.legend_row_count, 17);
}

} // namespace
} // namespace kozenica
