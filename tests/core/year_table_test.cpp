#include "core/month_walk.h"
#include "core/texts.h"
#include "core/year_table.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <numeric>

namespace kozenica::testing {
namespace {

constexpr std::int32_t most = 2147483647;

struct year_table_test : ::testing::Test {
    void month(const char* name, const std::vector<shuushi_line>& lines) {
        const shuushi_data t = table_of(lines);
        write_bytes(dir.file(name), std::string_view(name).ends_with(".csv") ? encode_csv(t) : encode_kzn(t));
    }
    // Each line of cells joined by '|'.
    static std::vector<std::string> joined(const std::vector<year_cells>& cells) {
        std::vector<std::string> out;
        for (const year_cells& l : cells)
            out.push_back(
                std::accumulate(l.begin() + 1, l.end(), l[0], [](auto a, auto& b) { return a + "|" + b; }));
        return out;
    }
    temp_dir dir;
    kind_list kinds{{1, line_text(sjis("食費"))}, {2, line_text(sjis("日用品"))}};
};

TEST_F(year_table_test, monthsMissingDamagedAndInHand_countAsTheUserSeesThem) {
    month("2023_1.kzn", {make_line(3, "", "", 1, 0, 1000), make_line(4, "", "", 2, 0, 500)});
    month("2023_2.kzn", {make_line(1, "", "", 1, 0, 2000)});
    month("2024_1.kzn", {make_line(0, "", "", 0, 10000, 0), make_line(5, "A", "x", 1, 0, 1200),
                         make_line(6, "B", "y", 1, 0, -200), make_line(7, "", "", 9, 0, 301)});
    write_bytes(dir.file("2024_3.kzn"), "KZN");
    month("2024_5.kzn", {make_line(1, "", "", 1, 0, 777777)}); // the month in hand stands for it
    const shuushi_data hand = table_of({make_line(1, "", "", 2, 0, most), make_line(2, "", "", 2, 0, most)});
    const year_table t =
        build_year_table(2024, 0, dir.path(), kinds, month_in_hand{2024, 5, walked_lines(hand)});

    const char* const expected[] = {
        "種類|1月|2月|3月！|4月|5月*|6月|7月|8月|9月|10月|11月|12月|年計|月平均|前年計|差額|前年比",
        "食費|1,000|―|―|―|0|―|―|―|―|―|―|―|1,000|500|3,000|-2,000|33.3",
        "日用品|0|―|―|―|4,294,967,294|―|―|―|―|―|―|―|4,294,967,294|2,147,483,647|500|4,294,966,794|858993458."
        "8",
        "9|301|―|―|―|0|―|―|―|―|―|―|―|301|151|0|301|―",
        "支出計|1,301|―|―|―|4,294,967,294|―|―|―|―|―|―|―|4,294,968,595|2,147,484,298|3,500|4,294,965,095|"
        "122713388.4",
        "収入計|10,000|―|―|―|0|―|―|―|―|―|―|―|10,000|5,000|0|10,000|―",
        "収支|8,699|―|―|―|-4,294,967,294|―|―|―|―|―|―|―|-4,294,958,595|-2,147,479,297|-3,500|-4,294,955,095|"
        "122713102.7",
    };
    const std::vector<std::string> rows = joined(year_table_cells(t));
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], sjis(expected[i])) << "row " << i;
    EXPECT_EQ(t.months[2].reason + "\n", texts::damaged_file);
    EXPECT_EQ(year_table_notes(t), sjis("数えていない月(読めないか壊れています): 2024年3月"));
    EXPECT_EQ(lines_behind(t, 1, 1).size(), 2u);
    EXPECT_EQ(year_kind_colors(t), (std::vector<int>{2, 1, 3}));
}

TEST_F(year_table_test, longMonthsAndEmptyYears) {
    month("2024_4.csv", std::vector<shuushi_line>(max_lines, make_line(1, "", "", 1, 0, 1)));
    const std::string csv_month = read_bytes(dir.file("2024_4.csv"));
    const std::string last_line = csv_month.substr(csv_month.rfind('\n', csv_month.size() - 2) + 1);
    write_bytes(dir.file("2024_4.csv"), csv_month + last_line + last_line);
    const year_table t = build_year_table(2024, 1, dir.path(), kinds, std::nullopt);
    EXPECT_EQ(joined(year_table_cells(t))[1], sjis("食費|―|―|―|1,999|―|―|―|―|―|―|―|―|1,999|1,999|0|1,999|―"));
    EXPECT_EQ(year_table_notes(t), sjis("1999行目までを数えた月: 2024年4月"));
    const std::string csv = year_table_csv(year_table_cells(t));
    EXPECT_NE(csv.find(sjis("食費,―,―,―,\"1,999\",―")), std::string::npos);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");

    // A year with no month at all: the heading line alone, no error.
    const year_table none = build_year_table(2030, 1, dir.path(), kinds, std::nullopt);
    EXPECT_EQ(year_table_cells(none).size(), 1u);
    EXPECT_EQ(year_table_notes(none), "");
}

TEST(year_table_figures, averagesAndRatiosRoundHalfUp) {
    const struct {
        std::int64_t total, other;
        std::optional<std::int64_t> average;
        const char* ratio;
    } cases[] = {
        {3, 2, 2, "150.0"},
        {-3, 2, -1, "-150.0"},
        {5, 3, 2, "166.7"},
        {0, 0, std::nullopt, "―"},
        {1053, 1000, 1, "105.3"},
        {-1, 2000, 0, "0.0"},
        {1, -3, std::nullopt, "-33.3"},
        {7, 12, 1, "58.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(month_average(c.total, int(c.other)), c.average) << c.total << "/" << c.other;
        EXPECT_EQ(ratio_percent_text(c.total, c.other), sjis(c.ratio)) << c.total << "/" << c.other;
    }
}

} // namespace
} // namespace kozenica::testing
