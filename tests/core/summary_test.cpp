// The monthly summary: sums by kind, ratios, order, names and the three warnings.
#include "core/summary.h"
#include "sjis_testing.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::sjis;

struct line_spec {
    std::int32_t kind, income, expense;
};

struct row_spec {
    std::int32_t kind;
    std::int64_t sum;
    const char* ratio;
};

struct summary_case {
    const char* title;
    std::vector<line_spec> lines;
    std::vector<std::int32_t> kinds; // numbers of the kind list
    const char* message;             // UTF-8; empty when the summary succeeds
    std::vector<row_spec> rows;
};

// Each kind's name in the list is "kind" and its number, so a row shows whose
// name it got.
kind_list make_kinds(const std::vector<std::int32_t>& numbers) {
    kind_list kinds;
    for (const std::int32_t n : numbers)
        kinds.push_back({n, line_text("kind" + std::to_string(n))});
    return kinds;
}

std::vector<shuushi_line> make_lines(const std::vector<line_spec>& specs) {
    std::vector<shuushi_line> lines(specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        lines[i].kind = specs[i].kind;
        lines[i].income = specs[i].income;
        lines[i].expense = specs[i].expense;
    }
    return lines;
}

class summary_table : public ::testing::TestWithParam<summary_case> {};

TEST_P(summary_table, gives_rows_or_the_warning) {
    const summary_case& c = GetParam();
    const summary_result result = summarize_month(make_lines(c.lines), make_kinds(c.kinds));
    EXPECT_EQ(result.message(), sjis(c.message));
    EXPECT_EQ(result.ok(), std::string_view(c.message).empty());
    ASSERT_EQ(result.rows.size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(result.rows[i].kind, c.rows[i].kind);
        EXPECT_EQ(result.rows[i].sum, c.rows[i].sum);
        EXPECT_EQ(ratio_text(result.rows[i].ratio), c.rows[i].ratio);
        EXPECT_EQ(result.rows[i].name.view(), "kind" + std::to_string(c.rows[i].kind));
    }
}

const std::vector<std::int32_t> all = {0, 1, 2, 3, 4};

// clang-format off
INSTANTIATE_TEST_SUITE_P(months, summary_table, ::testing::Values(
    summary_case{"incomes_only", {{0, 5000, 0}, {1, 300, 0}}, all, "支出の合計が０です", {}},
    summary_case{"no_lines", {}, all, "支出の合計が０です", {}},
    summary_case{"refunds_outweigh_expenses", {{1, 0, 100}, {2, 0, -300}}, all, "支出の合計が０です", {}},
    summary_case{"k_plus_1_kinds_fail_on_the_name", {{1, 0, 500}, {2, 0, 300}, {3, 0, 10}}, {1, 2},
                 "リストに存在しない種類です:3", {}},
    summary_case{"k_plus_2_kinds_are_too_many", {{1, 0, 5}, {2, 0, 3}, {3, 0, 1}, {4, 0, 1}}, {1, 2},
                 "種類の入力に間違いがあります", {}},
    summary_case{"empty_kind_list", {{1, 0, 10}}, {}, "リストに存在しない種類です:1", {}},
    summary_case{"carried_forward_kind_0_without_entry_0", {{0, 20000, 0}, {1, 0, 100}}, {1, 2},
                 "リストに存在しない種類です:0", {}},
    summary_case{"first_missing_in_sum_order", {{1, 0, 10}, {7, 0, 50}, {9, 0, 900}}, {1, 2, 3},
                 "リストに存在しない種類です:9", {}},
    summary_case{"kind_beyond_the_last_entry", {{0, 0, 10}, {99, 0, 10}}, {0, 1}, "リストに存在しない種類です:99", {}},
    summary_case{"income_only_kinds_come_last_in_kind_order", {{0, 10000, 0}, {1, 0, 600}, {3, 50, 0}, {2, 0, 400}}, all,
                 "", {{1, 600, "60.00"}, {2, 400, "40.00"}, {0, 0, "0.00"}, {3, 0, "0.00"}}},
    summary_case{"equal_sums_in_ascending_kind", {{3, 0, 250}, {1, 0, 250}, {2, 0, 500}}, all,
                 "", {{2, 500, "50.00"}, {1, 250, "25.00"}, {3, 250, "25.00"}}},
    summary_case{"scattered_lines_of_a_kind_sum_up", {{1, 0, 120}, {2, 0, 100}, {1, 0, 380}, {2, 0, 0}}, all,
                 "", {{1, 500, "83.33"}, {2, 100, "16.67"}}},
    summary_case{"one_kind_is_the_whole", {{1, 0, 120}, {1, 0, 380}}, all, "", {{1, 500, "100.00"}}},
    summary_case{"three_equal_kinds", {{1, 0, 100}, {2, 0, 100}, {3, 0, 100}}, all,
                 "", {{1, 100, "33.33"}, {2, 100, "33.33"}, {3, 100, "33.33"}}},
    // 97/800 and 3/800 are 12.125 and 0.375 percent exactly.
    summary_case{"exact_halves_round_away_from_zero", {{1, 0, 97}, {2, 0, 3}, {3, 0, 700}}, all,
                 "", {{3, 700, "87.50"}, {1, 97, "12.13"}, {2, 3, "0.38"}}},
    summary_case{"month_beyond_2_31_yen", {{1, 0, 2000000000}, {1, 0, 2000000000}, {2, 0, 1000000000}}, all,
                 "", {{1, 4000000000LL, "80.00"}, {2, 1000000000, "20.00"}}},
    summary_case{"total_that_wraps_to_0_in_32_bits", {{1, 0, 2147483647}, {2, 0, 2147483647}, {3, 0, 2}}, all,
                 "", {{1, 2147483647, "50.00"}, {2, 2147483647, "50.00"}, {3, 2, "0.00"}}}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

TEST(summary, reads_lines_1_to_row_count_minus_1_of_the_table) {
    auto data = std::make_unique<shuushi_data>();
    data->row_count = 3;
    const std::vector<shuushi_line> lines = make_lines({{1, 0, 100}, {2, 0, 300}, {3, 0, 99999}});
    std::copy(lines.begin(), lines.end(), data->lines.begin() + 1); // line 3 lies beyond the month
    const summary_result result = summarize_month(*data, make_kinds(all));
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.total, 400);
    EXPECT_EQ(ratio_text(result.rows[0].ratio), "75.00");
}

TEST(summary, duplicate_kind_numbers_take_the_first_name) {
    const kind_list kinds = {{1, line_text(sjis("食費"))}, {1, line_text(sjis("外食"))}};
    const summary_result result = summarize_month(make_lines({{1, 0, 10}}), kinds);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.rows[0].name.view(), sjis("食費"));
}

struct ratio_case {
    float ratio;
    const char* text;
};

class ratio_text_table : public ::testing::TestWithParam<ratio_case> {};

TEST_P(ratio_text_table, has_two_decimals_rounded_half_away_from_zero) {
    EXPECT_EQ(ratio_text(GetParam().ratio), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ratios, ratio_text_table, ::testing::Values(
    ratio_case{12.5f, "12.50"}, ratio_case{100.0f / 3.0f, "33.33"}, ratio_case{200.0f / 3.0f, "66.67"},
    ratio_case{100.0f, "100.00"}, ratio_case{0.0f, "0.00"}, ratio_case{12.125f, "12.13"}, ratio_case{0.125f, "0.13"},
    ratio_case{2.675f, "2.67"},  // the float nearest 2.675 lies below it
    ratio_case{99.995f, "100.00"}, ratio_case{-12.125f, "-12.13"}, ratio_case{-0.001f, "0.00"}));
// clang-format on

} // namespace
} // namespace kozenica
