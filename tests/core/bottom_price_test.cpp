#include "core/bottom_price.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::line_of;

// A found line: its price and a tag in the memo that tells the lines apart.
struct found {
    std::int32_t expense;
    std::string tag;
};

struct ranking_case {
    const char* name;
    std::vector<found> walk_order;
    std::vector<std::string> expected_tags;
};

std::vector<found> run(int from, int to) {
    std::vector<found> out;
    const int step = from <= to ? 1 : -1;
    for (int v = from;; v += step) {
        out.push_back({v, std::to_string(v)});
        if (v == to) break;
    }
    return out;
}

std::vector<std::string> tags(int from, int to) {
    std::vector<std::string> out;
    for (int v = from; v <= to; ++v)
        out.push_back(std::to_string(v));
    return out;
}

TEST(BottomPrice, keepsTheTenCheapestWithTheLaterOfEqualPricesFirst) {
    const ranking_case cases[] = {
        {"equal prices", {{500, "a"}, {300, "b"}, {300, "c"}, {400, "d"}}, {"c", "b", "d", "a"}},
        {"ascending eleven", run(1, 11), tags(1, 10)},
        {"descending eleven", run(11, 1), tags(1, 10)},
        {"later equal to the tenth",
         {{1, "1"},
          {2, "2"},
          {3, "3"},
          {4, "4"},
          {5, "5"},
          {6, "6"},
          {7, "7"},
          {8, "8"},
          {9, "9"},
          {500, "old"},
          {500, "new"}},
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "new"}},
        {"dearer than a full list",
         {{1, "1"},
          {2, "2"},
          {3, "3"},
          {4, "4"},
          {5, "5"},
          {6, "6"},
          {7, "7"},
          {8, "8"},
          {9, "9"},
          {10, "10"},
          {11, "x"}},
         tags(1, 10)},
        {"income line ranks first", {{300, "a"}, {0, "income"}, {200, "b"}}, {"income", "b", "a"}},
        {"negative price", {{5, "a"}, {-5, "b"}}, {"b", "a"}},
        {"one line", {{700, "a"}}, {"a"}},
        {"all equal",
         {{1, "a"},
          {1, "b"},
          {1, "c"},
          {1, "d"},
          {1, "e"},
          {1, "f"},
          {1, "g"},
          {1, "h"},
          {1, "i"},
          {1, "j"},
          {1, "k"}},
         {"k", "j", "i", "h", "g", "f", "e", "d", "c", "b"}},
    };
    for (const auto& c : cases) {
        bottom_price_list list;
        for (const auto& f : c.walk_order) {
            shuushi_line l = line_of("milk", f.expense);
            l.memo.assign(f.tag);
            list.add(l, "2000/1/1");
        }
        std::vector<std::string> got;
        for (int i = 0; i < list.size(); ++i)
            got.push_back(list[i].memo.str());
        EXPECT_EQ(got, c.expected_tags) << c.name;
        for (int i = 1; i < list.size(); ++i)
            EXPECT_LE(list[i - 1].expense, list[i].expense) << c.name;
    }
}

struct row_case {
    std::int32_t kind, income, expense;
    std::array<const char*, 3> cells; // kind, income, expense
};

TEST(BottomPrice, rowShowsPositiveNumbersOnly) {
    const row_case cases[] = {
        {3, 0, 1234567, {"3", "", "1,234,567"}},
        {0, 0, 300, {"", "", "300"}},
        {-2, 1000, 0, {"", "1,000", ""}},
        {12, -5, -7, {"12", "", ""}},
        {1, 999, 1000, {"1", "999", "1,000"}},
        {2147483647, 2147483647, 2147483647, {"2147483647", "2,147,483,647", "2,147,483,647"}},
    };
    for (const auto& c : cases) {
        bottom_price_entry e;
        e.date.assign("2000/2/3");
        e.shop.assign("shop");
        e.item.assign("milk");
        e.memo.assign("memo");
        e.kind = c.kind;
        e.income = c.income;
        e.expense = c.expense;
        const auto row = bottom_price_row(e);
        const std::array<std::string, 8> expected{"",         "2000/2/3", "shop",     "milk",
                                                  c.cells[0], c.cells[1], c.cells[2], "memo"};
        EXPECT_EQ(row, expected);
    }
}

} // namespace
} // namespace kozenica
