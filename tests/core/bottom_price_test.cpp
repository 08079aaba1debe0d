#include "core/bottom_price.h"
#include "period_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

TEST(BottomPrice, keepsTheTenCheapestWithTheLaterOfEqualPricesFirst) {
    const struct {
        std::vector<std::int32_t> prices; // in walk order
        std::vector<std::int32_t> kept;   // positions in walk order, cheapest first
    } cases[] = {
        {{500, 300, 300, 400}, {2, 1, 3, 0}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 500, 500}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 10}},
        {{300, 0, 200}, {1, 2, 0}}, // an income line without expense
    };
    for (const auto& c : cases) {
        bottom_price_list list;
        for (std::size_t i = 0; i < c.prices.size(); ++i)
            list.add(testing::make_line(1, "shop", "milk", std::int32_t(i), 0, c.prices[i]), "2000/1/1");
        std::vector<std::int32_t> kept;
        for (int i = 0; i < list.size(); ++i)
            kept.push_back(list[i].kind);
        EXPECT_EQ(kept, c.kept);
    }
}

} // namespace
} // namespace kozenica
