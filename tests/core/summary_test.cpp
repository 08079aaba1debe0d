// The monthly summary: sums by kind, ratios, order, names and the three warnings.
#include "core/summary.h"
#include "sjis_testing.h"
#include "summary_testing.h"

#include <gtest/gtest.h>
#include <memory>

namespace kozenica {
namespace {

struct summary_case {
    const char* title;
    std::vector<testing::month_line> lines;
    std::vector<std::int32_t> kinds; // the kind list; kind n is named "kind<n>"
    const char* message;             // UTF-8; empty when the summary succeeds
    std::vector<std::string> rows;   // name, sum, ratio
};

const std::vector<std::int32_t> all = {0, 1, 2, 3, 4};

// clang-format off
const summary_case months[] = {
    {"incomes only", {{0, 5000, 0}, {1, 300, 0}}, all, "支出の合計が０です", {}},
    {"K + 1 kinds", {{1, 0, 500}, {2, 0, 300}, {3, 0, 10}}, {1, 2}, "リストに存在しない種類です:3", {}},
    {"K + 2 kinds", {{1, 0, 5}, {2, 0, 3}, {3, 0, 1}, {4, 0, 1}}, {1, 2}, "種類の入力に間違いがあります", {}},
    {"kind 0 without entry 0", {{0, 20000, 0}, {1, 0, 100}}, {1, 2}, "リストに存在しない種類です:0", {}},
    {"income-only kinds last by kind", {{0, 10000, 0}, {1, 0, 600}, {3, 50, 0}, {2, 0, 400}}, all, "",
     {"kind1 600 60.00", "kind2 400 40.00", "kind0 0 0.00", "kind3 0 0.00"}},
    {"equal sums by ascending kind", {{3, 0, 250}, {1, 0, 250}, {2, 0, 500}}, all, "",
     {"kind2 500 50.00", "kind1 250 25.00", "kind3 250 25.00"}},
    {"one kind is the whole", {{1, 0, 120}, {1, 0, 380}}, all, "", {"kind1 500 100.00"}},
    {"three equal kinds", {{1, 0, 100}, {2, 0, 100}, {3, 0, 100}}, all, "",
     {"kind1 100 33.33", "kind2 100 33.33", "kind3 100 33.33"}},
    {"scattered month beyond 2^31 yen", {{1, 0, 2000000000}, {2, 0, 1000000000}, {1, 0, 2000000000}}, all, "",
     {"kind1 4000000000 80.00", "kind2 1000000000 20.00"}}};
// clang-format on

TEST(summary, gives_rows_or_the_warning) {
    for (const summary_case& c : months) {
        SCOPED_TRACE(c.title);
        kind_list kinds;
        for (const std::int32_t n : c.kinds)
            kinds.push_back({n, line_text("kind" + std::to_string(n))});
        const auto month = std::make_unique<shuushi_data>();
        testing::set_month(*month, c.lines);
        const summary_result result = summarize_month(*month, kinds);
        EXPECT_EQ(result.message(), testing::sjis(c.message));
        std::vector<std::string> rows;
        for (const shuukei_line& row : result.rows)
            rows.push_back(std::string(row.name.view()) + " " + std::to_string(row.sum) + " " +
                           ratio_text(row.ratio));
        EXPECT_EQ(rows, c.rows);
    }
}

} // namespace
} // namespace kozenica
