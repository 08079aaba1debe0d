#include "core/month_walk.h"
#include "core/period_texts.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <system_error>

namespace kozenica {
namespace {

using testing::fake_month;
using testing::fake_month_source;
using testing::line_of;
using testing::query_of;
using testing::recording_notifier;

struct found {
    std::string item;
    std::string date;
    std::uint16_t year;
    std::uint16_t month;
};

// Walks with a step that records every line it is given and never stops.
std::vector<found> walk_all(const period_query& q, fake_month_source& src, recording_notifier& n) {
    std::vector<found> out;
    month_walk(
        q, src.dir, n,
        [&](const shuushi_line& l, std::uint16_t y, std::uint16_t m, std::string_view date) {
            out.push_back({l.item.str(), std::string(date), y, m});
            return walk_answer::go_on;
        },
        src);
    return out;
}

// Every month of the range present, one matching line each.
fake_month_source every_month(const period_query& q) {
    fake_month_source src;
    for (int i = q.start_year * 12 + q.start_month - 1; i <= q.end_year * 12 + q.end_month - 1; ++i)
        src.files[month_path(src.dir, std::uint16_t(i / 12), std::uint16_t(i % 12 + 1), q.file_format)] =
            fake_month{{line_of("milk", 100)}, false};
    return src;
}

struct order_case {
    period_query query;
    std::vector<std::string> files;
};

TEST(MonthWalk, visitsTheMonthsOfTheRangeInCalendarOrder) {
    const order_case cases[] = {
        {query_of(1999, 11, 2000, 2), {"1999_11.kzn", "1999_12.kzn", "2000_1.kzn", "2000_2.kzn"}},
        {query_of(2000, 5, 2000, 5), {"2000_5.kzn"}},
        {query_of(2000, 12, 2001, 1, "milk", 1), {"2000_12.csv", "2001_1.csv"}},
        {query_of(2000, 1, 2000, 12, "milk", 1),
         {"2000_1.csv", "2000_2.csv", "2000_3.csv", "2000_4.csv", "2000_5.csv", "2000_6.csv", "2000_7.csv",
          "2000_8.csv", "2000_9.csv", "2000_10.csv", "2000_11.csv", "2000_12.csv"}},
        {query_of(65535, 11, 65535, 12), {"65535_11.kzn", "65535_12.kzn"}},
        {query_of(1, 1, 1, 1), {"1_1.kzn"}},
    };
    for (const auto& c : cases) {
        fake_month_source src = every_month(c.query);
        recording_notifier n;
        const auto visits = walk_all(c.query, src, n);
        EXPECT_EQ(src.read_names(), c.files);
        ASSERT_EQ(visits.size(), c.files.size());
        // The date text is the walk's own year and month: "1999_11.kzn" gives "1999/11/1".
        for (std::size_t i = 0; i < visits.size(); ++i) {
            std::string date = c.files[i].substr(0, c.files[i].find('.')) + "/1";
            date[date.find('_')] = '/';
            EXPECT_EQ(visits[i].date, date);
            EXPECT_EQ(visits[i].year * 100 + visits[i].month,
                      std::stoi(date.substr(0, date.find('/'))) * 100 +
                          std::stoi(date.substr(date.find('/') + 1)));
        }
        EXPECT_TRUE(n.told.empty());
    }
}

struct range_case {
    period_query query;
    bool valid;
};

TEST(MonthWalk, wrongRangeWarnsAndReadsNothing) {
    const range_case cases[] = {
        {query_of(2000, 3, 2000, 2), false},  {query_of(2001, 1, 2000, 12), false},
        {query_of(0, 1, 2000, 2), false},     {query_of(2000, 1, 0, 2), false},
        {query_of(0, 1, 0, 1), false},        {query_of(2000, 2, 2000, 2), true},
        {query_of(1999, 12, 2000, 1), true},  {query_of(2000, 0, 2000, 2), false},
        {query_of(2000, 1, 2000, 13), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(range_is_valid(c.query), c.valid);
        recording_notifier n;
        EXPECT_EQ(check_range(c.query, n), c.valid);
        if (c.valid) {
            EXPECT_TRUE(n.told.empty());
            continue;
        }
        ASSERT_EQ(n.told.size(), 1u);
        EXPECT_EQ(n.told[0].first, message_kind::warning);
        EXPECT_EQ(n.told[0].second, testing::sjis("範囲指定が間違っています"));
        fake_month_source src = every_month(query_of(1999, 1, 2001, 12));
        recording_notifier walk_n;
        EXPECT_TRUE(walk_all(c.query, src, walk_n).empty());
        EXPECT_TRUE(src.read_paths.empty());
    }
}

TEST(MonthWalk, missingMonthsAreToldOneByOneAndTheOthersStillRead) {
    fake_month_source src;
    for (const char* name : {"2000_1.kzn", "2000_3.kzn", "2000_5.kzn"})
        src.put(name, {{line_of("milk", 100)}});
    recording_notifier n;
    const auto visits = walk_all(query_of(2000, 1, 2000, 5), src, n);
    EXPECT_EQ(src.read_names(), (std::vector<std::string>{"2000_1.kzn", "2000_3.kzn", "2000_5.kzn"}));
    EXPECT_EQ(visits.size(), 3u);
    ASSERT_EQ(n.told.size(), 2u);
    EXPECT_EQ(n.told[0].first, message_kind::error);
    EXPECT_EQ(n.told[0].second, testing::sjis("ファイル(/prog/2000_2.kzn)がありません"));
    EXPECT_EQ(n.told[1].second, testing::sjis("ファイル(/prog/2000_4.kzn)がありません"));
}

TEST(MonthWalk, damagedMonthIsSkippedEvenWhenPartlyLoaded) {
    fake_month_source src;
    src.put("2000_1.csv", {{line_of("milk", 1)}});
    src.put("2000_2.csv", {{line_of("milk", 2), line_of("milk", 3)}, true});
    src.put("2000_3.csv", {{line_of("milk", 4)}});
    recording_notifier n;
    std::vector<std::int32_t> prices;
    month_walk(
        query_of(2000, 1, 2000, 3, "milk", 1), src.dir, n,
        [&](const shuushi_line& l, std::uint16_t, std::uint16_t, std::string_view) {
            prices.push_back(l.expense);
            return walk_answer::go_on;
        },
        src);
    EXPECT_EQ(prices, (std::vector<std::int32_t>{1, 4}));
    EXPECT_EQ(src.read_paths.size(), 3u);
    EXPECT_TRUE(n.told.empty()); // the reader itself tells of the damage
}

struct match_case {
    std::string asked;
    std::string item;
    bool matches;
};

TEST(MonthWalk, matchesTheItemByItsExactBytes) {
    const std::string twenty = testing::sjis("あいうえおかきくけこ"); // 20 bytes
    const match_case cases[] = {
        {"milk", "milk", true},
        {"milk", "Milk", false},
        {"milk", "milk ", false},
        {"milk", " milk", false},
        {"milk", "mil", false},
        {"", "", true},
        {"", "x", false},
        {testing::sjis("牛乳"), testing::sjis("牛乳"), true},
        {testing::sjis("ミルク"), testing::sjis("ﾐﾙｸ"), false},
        {testing::sjis("１"), "1", false},
        {twenty + "XY", twenty, true},                           // asked name cut to 20 bytes
        {testing::sjis("あいうえおかきくけこさ"), twenty, true}, // cut inside a character
    };
    for (const auto& c : cases) {
        fake_month_source src;
        src.put("2000_1.kzn", {{line_of(c.item, 100)}});
        recording_notifier n;
        const auto visits = walk_all(query_of(2000, 1, 2000, 1, c.asked), src, n);
        EXPECT_EQ(visits.size(), c.matches ? 1u : 0u) << c.asked << " / " << c.item;
    }
}

TEST(MonthWalk, stopEndsTheWalkAtOnce) {
    fake_month_source src;
    src.put("2000_1.kzn", {{line_of("milk", 1), line_of("milk", 2), line_of("milk", 3)}});
    src.put("2000_2.kzn", {{line_of("milk", 4)}});
    recording_notifier n;
    std::vector<std::int32_t> prices;
    month_walk(
        query_of(2000, 1, 2000, 2), src.dir, n,
        [&](const shuushi_line& l, std::uint16_t, std::uint16_t, std::string_view) {
            prices.push_back(l.expense);
            return prices.size() == 2 ? walk_answer::stop : walk_answer::go_on;
        },
        src);
    EXPECT_EQ(prices, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(src.read_names(), std::vector<std::string>{"2000_1.kzn"});
}

TEST(MonthWalk, readFailureEndsTheWalkWithTheError) {
    struct failing_source : fake_month_source {
        bool read(std::string_view path, shuushi_data& table, notifier& n) override {
            if (read_paths.size() == 1) throw std::system_error(EIO, std::generic_category());
            return fake_month_source::read(path, table, n);
        }
    } src;
    for (const char* name : {"2000_1.kzn", "2000_2.kzn", "2000_3.kzn"})
        src.put(name, {{line_of("milk", 100)}});
    recording_notifier n;
    EXPECT_THROW(walk_all(query_of(2000, 1, 2000, 3), src, n), std::system_error);
    EXPECT_EQ(src.read_paths.size(), 1u);
}

struct date_case {
    std::uint16_t year, month;
    std::int8_t day;
    const char* text;
};

TEST(MonthWalk, dateTextHasNoLeadingZerosAndASignedDay) {
    const date_case cases[] = {
        {1999, 4, 5, "1999/4/5"},   {1999, 12, 0, "1999/12/0"}, {2000, 1, 31, "2000/1/31"},
        {2000, 1, -1, "2000/1/-1"}, {7, 10, 127, "7/10/127"},   {65535, 12, -128, "65535/12/-128"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(date_text(c.year, c.month, c.day), c.text);
}

struct year_case {
    const char* text;
    std::uint16_t year;
};

TEST(MonthWalk, yearTextIsItsDecimalValueOrZero) {
    const year_case cases[] = {
        {"", 0},
        {"2024", 2024},
        {"0", 0},
        {"0099", 99},
        {"65535", 65535},
        {"65536", 0},
        {"0065535", 65535},
        {"00000000000000002000", 2000},
        {"18446744073709551617", 0},
        {"99999", 0},
        {"123456", 0},
        {"12a", 0},
        {"-5", 0},
        {" 2000", 0},
        {"2000 ", 0},
        {"+1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(year_of_text(c.text), c.year) << c.text;
    EXPECT_EQ(year_of_text(testing::sjis("２０００")), 0);
}

} // namespace
} // namespace kozenica
