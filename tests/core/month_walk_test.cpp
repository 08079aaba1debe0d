// The walk over the months of a period and the two lists it fills.
#include "core/bottom_price.h"
#include "core/month_walk.h"
#include "core/term_points.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;
using names = std::vector<std::string>;
using told = decltype(recording_notifier::told);

fake_month_source with_months(const names& files) {
    fake_month_source src;
    for (const auto& f : files)
        src.put(f, {priced("milk", 100)});
    return src;
}

// The date texts of the lines the walk hands over; its outcome to `outcome`.
names walk(const period_query& q, fake_month_source& src, notifier& n, walk_outcome* outcome = nullptr) {
    names dates;
    const walk_outcome o = month_walk(
        q, src.dir, n,
        [&](auto&, auto, auto, std::string_view d) { return dates.emplace_back(d), walk_answer::go_on; },
        src);
    if (outcome) *outcome = o;
    return dates;
}

// Files of the range; a '!' marks a damaged one, which fills the table part-way before it fails.
TEST(MonthWalk, visitsTheMonthsInCalendarOrderTellsMissingOnesAndSkipsDamagedOnes) {
    for (const auto& [query, files, lines, missing] :
         {std::tuple(query_of(1999, 11, 2000, 2),
                     names{"1999_11.kzn", "1999_12.kzn", "2000_1.kzn", "2000_2.kzn"}, 4, names{}),
          {query_of(2000, 5, 2000, 5), names{"2000_5.kzn"}, 1, names{}},
          {query_of(2000, 12, 2001, 1, "milk", 1), names{"2000_12.csv", "2001_1.csv"}, 2, names{}},
          {query_of(2000, 1, 2000, 5), names{"2000_1.kzn", "2000_3.kzn!", "2000_5.kzn"}, 2,
           names{"2000_2.kzn", "2000_4.kzn"}}}) {
        fake_month_source src;
        names read;
        for (const std::string& f : files)
            src.put(read.emplace_back(f.substr(0, f.find('!'))), {priced("milk", 100)}, f.ends_with('!'));
        told expected;
        for (const std::string& m : missing)
            expected.emplace_back(message_kind::error, sjis("ファイル(/prog/" + m + ")がありません"));
        recording_notifier n;
        EXPECT_EQ(std::tuple(int(walk(query, src, n).size()), src.read_names, n.told),
                  std::tuple(lines, read, expected));
    }
}

TEST(MonthWalk, wrongRangeOrEmptyYearWarnsAndReadsNothing) {
    for (const period_query& query : {query_of(2000, 3, 2000, 2), query_of(2001, 1, 2000, 12),
                                      query_of(0, 1, 2000, 2), query_of(2000, 1, 0, 2)}) {
        recording_notifier n;
        EXPECT_FALSE(check_range(query, n));
        EXPECT_EQ(n.told, (told{{message_kind::warning, sjis("範囲指定が間違っています")}}));
        fake_month_source src = with_months({"1999_12.kzn", "2000_1.kzn", "2000_2.kzn", "2000_3.kzn"});
        EXPECT_TRUE(walk(query, src, n).empty() && src.read_names.empty());
    }
}

TEST(MonthWalk, moreThan120MissingMonthsAskOnceBeforeTheFirstBox) {
    // start year, end year (January to December), files present, answer; the question's count (0: none)
    const names two{"2000_5.kzn", "2009_12.kzn"};
    for (const auto& [from, to, files, go_on, count] :
         {std::tuple(2000, 2009, names{}, false, 120),
          {2000, 2009, two, false, 0}, // 120 months, 120 or 118 missing
          {1999, 2009, two, false, 130},
          {1999, 2009, two, true, 130},
          {224, 2024, names{}, false, 21612}}) {
        fake_month_source src = with_months(files);
        stopping_notifier n;
        n.go_on = go_on;
        n.stop_at = 3; // a walk that goes on is stopped at its third box
        walk_outcome got{};
        walk(query_of(from, 1, to, 12), src, n, &got);
        const bool asked = count > 120;
        EXPECT_EQ(n.asked, (asked ? told{{message_kind::warning, many_missing_text(count)}} : told{}))
            << from;
        EXPECT_EQ(got, walk_outcome::stopped_by_user) << from;
        EXPECT_EQ(n.told.size(), asked && !go_on ? 0u : 3u) << from;
        EXPECT_TRUE(src.read_names.empty() || go_on || !asked) << from;
    }
    EXPECT_EQ(many_missing_text(21612), sjis("範囲の中に、ファイルのない月が21612か月あります\n続けると、月ご"
                                             "とにメッセージが出ます\n続けますか?"));
}

TEST(MonthWalk, matchesTheItemByItsExactBytesCutTo20AndReadsYears) {
    const std::string twenty = sjis("あいうえおかきくけこ");
    // clang-format off
    for (const auto& [asked, item, matches] : {std::tuple<std::string, std::string, bool>{"milk", "milk", true},
             {"milk", "Milk", false}, {"milk", "milk ", false}, {sjis("ミルク"), sjis("ﾐﾙｸ"), false},
             {twenty + "XY", twenty, true}}) {
        // clang-format on
        fake_month_source src;
        src.put("2000_1.kzn", {priced(item, 100)});
        recording_notifier n;
        EXPECT_EQ(walk(query_of(2000, 1, 2000, 1, asked), src, n).size(), matches ? 1u : 0u) << asked;
    }
    EXPECT_EQ(date_text(65535, 12, -128), "65535/12/-128");
    // clang-format off
    for (const auto& [text, year] : {std::pair<std::string, int>{"2024", 2024}, {"0065535", 65535}, {"65536", 0},
                                     {"12a", 0}, {"-5", 0}, {"", 0}, {sjis("２０００"), 0}})
        // clang-format on
        EXPECT_EQ(year_of_text(text), year) << text;
}

TEST(TermPoints, sixtiethPointTellsTheMaximumAndTheNextFileIsNeverOpened) {
    fake_month_source src; // one matching line a month, 2000/1 to 2005/1
    for (int i = 0; i < 61; ++i)
        src.put(month_path("", 2000 + i / 12, i % 12 + 1, 0), {priced("milk", 100 + i)});
    for (const auto& [end_year, end_month, kept] :
         {std::tuple(2004, 11, 59), {2004, 12, 60}, {2005, 1, 60}}) {
        src.read_names.clear();
        recording_notifier n;
        term_point_list points;
        month_walk(
            query_of(2000, 1, end_year, end_month), src.dir, n,
            [&](auto& l, auto, auto, std::string_view d) { return points.add(l, d, n); }, src);
        EXPECT_EQ(std::tuple(points.size(), int(src.read_names.size()), points[kept - 1].price),
                  std::tuple(kept, kept, 99 + kept));
        const told maximum{
            {message_kind::warning, sjis("発見されたデータが最大個数を\n超えたので検索を打ち切ります")}};
        EXPECT_EQ(n.told, kept < 60 ? told{} : maximum) << kept;
    }
}

TEST(BottomPrice, keepsTheTenCheapestWithTheLaterOfEqualPricesFirst) {
    using list = std::vector<std::int32_t>;
    // Prices in walk order, then the walk positions kept, cheapest first.
    for (const auto& [prices, kept] :
         {std::pair<list, list>{{500, 300, 300, 400}, {2, 1, 3, 0}},
          {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
          {{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
          {{1, 2, 3, 4, 5, 6, 7, 8, 9, 500, 500}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 10}},
          {{300, 0, 200}, {1, 2, 0}}}) { // the 0 is an income line without expense
        bottom_price_list bottom;
        for (std::size_t i = 0; i < prices.size(); ++i)
            bottom.add(make_line(1, "shop", "milk", std::int32_t(i), 0, prices[i]), "2000/1/1");
        list got;
        for (int i = 0; i < bottom.size(); ++i)
            got.push_back(bottom[i].kind);
        EXPECT_EQ(got, kept);
    }
}

} // namespace
} // namespace kozenica
