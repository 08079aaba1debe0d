#include "core/month_walk.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;
using names = std::vector<std::string>;

// The date texts of the lines the walk hands over.
names walk(const period_query& q, fake_month_source& src, recording_notifier& n) {
    names dates;
    month_walk(
        q, src.dir, n,
        [&](const shuushi_line&, std::uint16_t, std::uint16_t, std::string_view date) {
            return dates.emplace_back(date), walk_answer::go_on;
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
    for (const period_query& query : {query_of(2000, 3, 2000, 2), query_of(2001, 1, 2000, 12),
                                      query_of(0, 1, 2000, 2), query_of(2000, 1, 0, 2)}) {
        recording_notifier n;
        EXPECT_FALSE(check_range(query, n));
        EXPECT_EQ(n.told, decltype(n.told)({{message_kind::warning, sjis("範囲指定が間違っています")}}));
        fake_month_source src = with_months({"1999_12.kzn", "2000_1.kzn", "2000_2.kzn", "2000_3.kzn"});
        EXPECT_TRUE(walk(query, src, n).empty());
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

TEST(MonthWalk, matchesTheItemByItsExactBytesCutTo20) {
    const std::string twenty = sjis("あいうえおかきくけこ");
    // clang-format off
    const std::tuple<std::string, std::string, bool> cases[] = {{"milk", "milk", true}, {"milk", "Milk", false},
        {"milk", "milk ", false}, {sjis("ミルク"), sjis("ﾐﾙｸ"), false}, {twenty + "XY", twenty, true}};
    // clang-format on
    for (const auto& [asked, item, matches] : cases) {
        fake_month_source src;
        src.put("2000_1.kzn", {priced(item, 100)});
        recording_notifier n;
        EXPECT_EQ(walk(query_of(2000, 1, 2000, 1, asked), src, n).size(), matches ? 1u : 0u) << asked;
    }
}

TEST(MonthWalk, dateAndYearTexts) {
    EXPECT_EQ(date_text(65535, 12, -128), "65535/12/-128");
    // clang-format off
    const std::pair<std::string, std::uint16_t> years[] = {
        {"2024", 2024}, {"0065535", 65535}, {"65536", 0}, {"12a", 0}, {"-5", 0}, {"", 0}, {sjis("２０００"), 0}};
    // clang-format on
    for (const auto& [text, year] : years)
        EXPECT_EQ(year_of_text(text), year) << text;
}

} // namespace
} // namespace kozenica
