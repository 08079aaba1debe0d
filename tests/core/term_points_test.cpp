#include "core/term_points.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

TEST(TermPoints, sixtiethPointTellsTheMaximumAndStopsTheWalk) {
    // One matching line a month from 2000/1; points gathered = months read.
    const struct {
        int months, points;
        bool maximum_told;
    } cases[] = {{59, 59, false}, {60, 60, true}, {61, 60, true}};
    for (const auto& c : cases) {
        fake_month_source src;
        for (int i = 0; i < c.months; ++i)
            src.put(month_path("", std::uint16_t(2000 + i / 12), std::uint16_t(i % 12 + 1), 0),
                    {priced("milk", 100 + i)});
        recording_notifier n;
        term_point_list points;
        const int last = c.months - 1;
        month_walk(
            query_of(2000, 1, std::uint16_t(2000 + last / 12), std::uint16_t(last % 12 + 1)), src.dir, n,
            [&](const shuushi_line& l, std::uint16_t, std::uint16_t, std::string_view date) {
                return points.add(l, date, n);
            },
            src);
        EXPECT_EQ(points.size(), c.points) << c.months;
        EXPECT_EQ(static_cast<int>(src.read_names.size()), c.points) << c.months;
        EXPECT_EQ(points[c.points - 1].price, 100 + c.points - 1);
        const decltype(n.told) told{
            {message_kind::warning, sjis("発見されたデータが最大個数を\n超えたので検索を打ち切ります")}};
        EXPECT_EQ(n.told, c.maximum_told ? told : decltype(n.told){}) << c.months;
    }
}

} // namespace
} // namespace kozenica
