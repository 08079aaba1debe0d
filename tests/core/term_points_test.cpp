#include "core/term_points.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::fake_month_source;
using testing::line_of;
using testing::query_of;
using testing::recording_notifier;

const std::string max_message = testing::sjis("発見されたデータが最大個数を\n超えたので検索を打ち切ります");

// The price-change step as the command runs it, over months 2000/1 onwards.
term_point_list gather(fake_month_source& src, int months, recording_notifier& n) {
    term_point_list points;
    const auto end_year = std::uint16_t(2000 + (months - 1) / 12);
    const auto end_month = std::uint16_t((months - 1) % 12 + 1);
    month_walk(
        query_of(2000, 1, end_year, end_month), src.dir, n,
        [&](const shuushi_line& l, std::uint16_t, std::uint16_t, std::string_view date) {
            return points.add(l, date, n);
        },
        src);
    return points;
}

struct limit_case {
    int months;        // months in the range, one matching line in each
    int points;        // points gathered
    int files_read;    // month files opened
    bool maximum_told; // the maximum message was shown
};

TEST(TermPoints, sixtiethPointTellsTheMaximumAndStopsTheWalk) {
    const limit_case cases[] = {
        {59, 59, 59, false},
        {60, 60, 60, true},
        {61, 60, 60, true}, // the 61st month is never opened
        {72, 60, 60, true},
    };
    for (const auto& c : cases) {
        fake_month_source src;
        for (int i = 0; i < c.months; ++i)
            src.files[month_path(src.dir, std::uint16_t(2000 + i / 12), std::uint16_t(i % 12 + 1), 0)] = {
                {line_of("milk", 100 + i)}};
        recording_notifier n;
        const term_point_list points = gather(src, c.months, n);
        EXPECT_EQ(points.size(), c.points) << c.months;
        EXPECT_EQ(static_cast<int>(src.read_paths.size()), c.files_read) << c.months;
        EXPECT_EQ(n.told.size(), c.maximum_told ? 1u : 0u);
        if (c.maximum_told) {
            EXPECT_EQ(n.told[0].first, message_kind::warning);
            EXPECT_EQ(n.told[0].second, max_message);
            EXPECT_EQ(points[59].price, 159); // the 60th in walk order
        }
    }
}

struct extreme_case {
    std::vector<std::int32_t> prices;
    std::int32_t highest, lowest;
};

TEST(TermPoints, highestAndLowestOverAllPoints) {
    const extreme_case cases[] = {
        {{300, 250, 300}, 300, 250},
        {{120}, 120, 120},
        {{0, 500}, 500, 0},
        {{500, 0}, 500, 0},
        {{-20, 10, -30}, 10, -30},
        {{2147483647, -2147483647 - 1}, 2147483647, -2147483647 - 1},
        {{}, 0, 0},
    };
    for (const auto& c : cases) {
        term_point_list points;
        recording_notifier n;
        for (const auto p : c.prices)
            (void)points.add(line_of("milk", p), "2000/1/1", n);
        EXPECT_EQ(points.highest(), c.highest);
        EXPECT_EQ(points.lowest(), c.lowest);
    }
}

} // namespace
} // namespace kozenica
