#include "core/month_walk.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <system_error>

namespace kozenica {
namespace {

using namespace testing;
using names = std::vector<std::string>;

// The date texts of the lines the walk hands over; the step stops after `stop_after` lines.
names walk(const period_query& q, fake_month_source& src, recording_notifier& n, std::size_t stop_after = 0) {
    names dates;
    month_walk(
        q, src.dir, n,
        [&](const shuushi_line&, std::uint16_t, std::uint16_t, std::string_view date) {
            dates.emplace_back(date);
            return dates.size() == stop_after ? walk_answer::stop : walk_answer::go_on;
        },
        src);
    return dates;
}

fake_month_source with_months(const names& files) {
    fake_month_source src;
    for (const auto& f : files)
        src.put(f, {priced("milk", 100)});
    return src;
}

TEST(MonthWalk, visitsTheMonthsOfTheRangeInCalendarOrder) {
    const std::pair<period_query, names> cases[] = {
        {query_of(1999, 11, 2000, 2), {"1999_11.kzn", "1999_12.kzn", "2000_1.kzn", "2000_2.kzn"}},
        {query_of(2000, 5, 2000, 5), {"2000_5.kzn"}},
        {query_of(2000, 12, 2001, 1, "milk", 1), {"2000_12.csv", "2001_1.csv"}},
        {query_of(65535, 11, 65535, 12), {"65535_11.kzn", "65535_12.kzn"}},
    };
    for (const auto& [query, files] : cases) {
        fake_month_source src = with_months(files);
        recording_notifier n;
        EXPECT_EQ(walk(query, src, n).size(), files.size());
        EXPECT_EQ(src.read_names, files);
        EXPECT_TRUE(n.told.empty());
    }
}

TEST(MonthWalk, wrongRangeWarnsAndReadsNothing) {
    const struct {
        period_query query;
        bool valid;
    } cases[] = {
        {query_of(2000, 3, 2000, 2), false}, {query_of(2001, 1, 2000, 12), false},
        {query_of(0, 1, 2000, 2), false},    {query_of(2000, 1, 0, 2), false},
        {query_of(2000, 2, 2000, 2), true},  {query_of(1999, 12, 2000, 1), true},
    };
    for (const auto& c : cases) {
        recording_notifier n;
        EXPECT_EQ(check_range(c.query, n), c.valid);
        ASSERT_EQ(n.told.size(), c.valid ? 0u : 1u);
        if (c.valid) continue;
        EXPECT_EQ(n.told[0], std::make_pair(message_kind::warning, sjis("範囲指定が間違っています")));
        fake_month_source src = with_months({"1999_12.kzn", "2000_1.kzn", "2000_2.kzn", "2000_3.kzn"});
        EXPECT_TRUE(walk(c.query, src, n).empty());
        EXPECT_TRUE(src.read_names.empty());
    }
}

TEST(MonthWalk, missingMonthsAreToldOneByOneAndDamagedOnesSkipped) {
    fake_month_source src = with_months({"2000_1.kzn", "2000_5.kzn"});
    src.put("2000_3.kzn", {priced("milk", 1), priced("milk", 2)}, true); // fails after loading its lines
    recording_notifier n;
    EXPECT_EQ(walk(query_of(2000, 1, 2000, 5), src, n), (names{"2000/1/1", "2000/5/1"}));
    EXPECT_EQ(src.read_names, (names{"2000_1.kzn", "2000_3.kzn", "2000_5.kzn"}));
    const decltype(n.told) expected{{message_kind::error, sjis("ファイル(/prog/2000_2.kzn)がありません")},
                                    {message_kind::error, sjis("ファイル(/prog/2000_4.kzn)がありません")}};
    EXPECT_EQ(n.told, expected);
}

TEST(MonthWalk, stopEndsTheWalkAtOnceAndReadErrorsAbandonIt) {
    fake_month_source src;
    src.put("2000_1.kzn", {make_line(1, "s", "milk"), make_line(2, "s", "milk"), make_line(3, "s", "milk")});
    src.put("2000_2.kzn", {priced("milk", 4)});
    recording_notifier n;
    EXPECT_EQ(walk(query_of(2000, 1, 2000, 2), src, n, 2), (names{"2000/1/1", "2000/1/2"}));
    EXPECT_EQ(src.read_names, names{"2000_1.kzn"});

    struct failing_source : fake_month_source {
        bool read(std::string_view, shuushi_data&, notifier&) override {
            throw std::system_error(EIO, std::generic_category());
        }
    } failing;
    failing.put("2000_1.kzn", {});
    EXPECT_THROW(walk(query_of(2000, 1, 2000, 1), failing, n), std::system_error);
}

TEST(MonthWalk, matchesTheItemByItsExactBytesCutTo20) {
    const std::string twenty = sjis("あいうえおかきくけこ"), longer = sjis("あいうえおかきくけこさ"),
                      wide = sjis("ミルク"), narrow = sjis("ﾐﾙｸ");
    const struct {
        std::string asked, item;
        bool matches;
    } cases[] = {{"milk", "milk", true},   {"milk", "Milk", false},
                 {"milk", "milk ", false}, {"milk", "mil", false},
                 {"", "", true},           {"", "x", false},
                 {wide, narrow, false},    {twenty + "XY", twenty, true},
                 {longer, twenty, true}};
    for (const auto& c : cases) {
        fake_month_source src;
        src.put("2000_1.kzn", {priced(c.item, 100)});
        recording_notifier n;
        EXPECT_EQ(walk(query_of(2000, 1, 2000, 1, c.asked), src, n).size(), c.matches ? 1u : 0u) << c.asked;
    }
}

TEST(MonthWalk, dateAndYearTexts) {
    EXPECT_EQ(date_text(1999, 12, 0), "1999/12/0");
    EXPECT_EQ(date_text(2000, 1, 31), "2000/1/31");
    EXPECT_EQ(date_text(65535, 12, -128), "65535/12/-128");
    const std::pair<std::string, std::uint16_t> years[] = {
        {"2024", 2024}, {"0099", 99}, {"65535", 65535}, {"0065535", 65535}, {"00000000000000002000", 2000}};
    for (const auto& [text, year] : years)
        EXPECT_EQ(year_of_text(text), year) << text;
    for (const auto& text : std::vector<std::string>{"", "65536", "18446744073709551617", "12a", "-5",
                                                     " 2000", "+1", sjis("２０００")})
        EXPECT_EQ(year_of_text(text), 0) << text;
}

} // namespace
} // namespace kozenica
