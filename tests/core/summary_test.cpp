// The monthly summary: sums by kind, ratios, order, names and the three warnings; then its pie.
#include "core/pie_geometry.h"
#include "core/summary.h"
#include "sjis_testing.h"
#include "summary_testing.h"

#include <gtest/gtest.h>
#include <memory>

namespace kozenica {
namespace {

using strings = std::vector<std::string>;
const std::vector<std::int32_t> all = {0, 1, 2, 3, 4};

// Lines (kind, income, expense), the kind list (kind n is named "kind<n>"), the warning, the rows.
// clang-format off
const std::tuple<std::vector<testing::month_line>, std::vector<std::int32_t>, const char*, strings> months[] = {
    {{{0, 5000, 0}, {1, 300, 0}}, all, "支出の合計が０です", {}},
    {{{1, 0, 500}, {2, 0, 300}, {3, 0, 10}}, {1, 2}, "リストに存在しない種類です:3", {}}, // K + 1 kinds
    {{{1, 0, 5}, {2, 0, 3}, {3, 0, 1}, {4, 0, 1}}, {1, 2}, "種類の入力に間違いがあります", {}}, // K + 2 kinds
    {{{0, 20000, 0}, {1, 0, 100}}, {1, 2}, "リストに存在しない種類です:0", {}}, // kind 0 without entry
    // Two kinds missing: the first in the table's order is named, the larger sum, or the lower number.
    {{{3, 0, 10}, {1, 0, 100}, {9, 0, 500}}, {1, 2}, "リストに存在しない種類です:9", {}},
    {{{9, 0, 100}, {3, 0, 100}, {1, 0, 50}}, {1, 2}, "リストに存在しない種類です:3", {}},
    {{{1, 0, 1}, {2, 0, 31}}, all, "", {"kind2 31 96.88", "kind1 1 3.13"}}, // exact halves round up
    {{{0, 10000, 0}, {1, 0, 600}, {3, 50, 0}, {2, 0, 400}}, all, "", // income-only kinds last
     {"kind1 600 60.00", "kind2 400 40.00", "kind0 0 0.00", "kind3 0 0.00"}},
    {{{3, 0, 250}, {1, 0, 250}, {2, 0, 500}}, all, "", {"kind2 500 50.00", "kind1 250 25.00", "kind3 250 25.00"}},
    {{{1, 0, 120}, {1, 0, 380}}, all, "", {"kind1 500 100.00"}},
    {{{1, 0, 100}, {2, 0, 100}, {3, 0, 100}}, all, "", {"kind1 100 33.33", "kind2 100 33.33", "kind3 100 33.33"}},
    {{{1, 0, 2000000000}, {2, 0, 1000000000}, {1, 0, 2000000000}}, all, "", // beyond 2^31 yen
     {"kind1 4000000000 80.00", "kind2 1000000000 20.00"}}};
// clang-format on

TEST(summary, gives_rows_or_the_warning) {
    for (const auto& [lines, list, message, expected] : months) {
        kind_list kinds;
        for (const std::int32_t n : list)
            kinds.push_back({n, line_text("kind" + std::to_string(n))});
        const auto month = std::make_unique<shuushi_data>();
        testing::set_month(*month, lines);
        const summary_result result = summarize_month(*month, kinds);
        EXPECT_EQ(result.message(), testing::sjis(message));
        strings rows;
        for (const shuukei_line& r : result.rows)
            rows.push_back(std::string(r.name.view()) + " " + std::to_string(r.sum) + " " +
                           ratio_text(r.ratio));
        EXPECT_EQ(rows, expected) << lines.size() << " lines";
    }
}

// Box, ratio texts, wedges, legend rows. On a 200-pixel square one percent is 4 pixels along each axis.
// clang-format off
const std::tuple<int, int, strings, std::vector<pie_wedge>, std::optional<int>> pies[] = {
    {200, 200, {"100.00"}, {{1, {100, 0}, {100, 0}, true}}, 1}, // a full disc
    {200, 200, {"50.00", "50.00"}, {{1, {100, 0}, {100, 200}, false}, {2, {100, 200}, {100, 0}, false}}, 2},
    {200, 200, {"60.00", "39.50", "0.50", "0.00"}, // below one percent: nothing
     {{1, {100, 0}, {60, 160}, false}, {2, {60, 160}, {98, 2}, false}}, 2},
    {200, 200, {"33.34", "33.34", "33.33"}, // 100.01 ends at twelve
     {{1, {100, 0}, {167, 133}, false}, {2, {167, 133}, {33, 133}, false}, {3, {33, 133}, {100, 0}, false}}, 3},
    {300, 200, {"25.00", "75.00"}, {{1, {150, 0}, {250, 100}, false}, {2, {250, 100}, {150, 0}, false}}, 2},
    {200, 300, {"75.00", "25.00"}, {{1, {100, 50}, {0, 150}, false}, {2, {0, 150}, {100, 50}, false}}, 2},
    {200, 200, {"abc", "", "12.5x"}, {}, std::nullopt},
    // On a 10-pixel circle one percent moves no end point: such a slice is left out, not painted
    // as the whole disc over the others, while a slice of 98 or 99 percent that ends where it
    // started is the whole disc.
    {10, 10, {"1.00", "99.00"}, {{2, {5, 0}, {5, 0}, true}}, 2},
    {10, 10, {"98.00", "1.00", "1.00"}, {{1, {5, 0}, {5, 0}, true}}, 3}};
// clang-format on

TEST(pie_geometry, draws_the_slices_and_legend_of_at_most_17_rows) {
    for (const auto& [width, height, ratios, wedges, legend_rows] : pies) {
        const pie_picture pic = pie_geometry(width, height, ratios);
        EXPECT_EQ(pic.wedges, wedges) << ratios[0];
        EXPECT_EQ(pic.legend_row_count, legend_rows) << ratios[0];
    }
    const pie_picture pic = pie_geometry(200, 200, strings(20, "5.00"));
    ASSERT_EQ(pic.wedges.size(), 17u);
    EXPECT_EQ(std::pair(pic.wedges.back(), pic.legend_row_count),
              std::pair(pie_wedge{17, {20, 80}, {40, 60}, false}, std::optional(17)));
}

} // namespace
} // namespace kozenica
