// The price book over the month walk: one row per item text, its lowest and
// latest purchase, and the orders a click on a column asks for.
#include "core/price_book.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace kozenica {
namespace {

using namespace testing;
using rows = std::vector<price_book_cells>;
using told = decltype(recording_notifier::told);

shuushi_line bought(int day, std::string_view shop, std::string_view item, std::int32_t expense,
                    int kind = 0) {
    return make_line(day, shop, item, kind, 0, expense);
}

rows rows_of(const price_book& book, const kind_list& kinds = {}) {
    rows out;
    for (const auto& e : book.entries())
        out.push_back(price_book_row(e, kinds));
    return out;
}

// The book's items in its order, each with its count: "milk 2|egg 1|".
std::string items_of(const price_book& book) {
    std::string out;
    for (const auto& e : book.entries())
        out += e.item.str() + " " + std::to_string(e.count) + "|";
    return out;
}

price_book book_of(fake_month_source& src, const period_query& q, recording_notifier& n) {
    return gather_price_book(q, src.dir, n, src).value();
}

TEST(PriceBook, rowsTakeTheLowestAndLatestPurchaseOfEachItem) {
    fake_month_source src;
    src.put("2024_1.kzn", {bought(20, "A", "milk", 200, 1), bought(5, "B", "milk", 180, 1),
                           bought(3, "C", "egg", 0, 2), bought(3, "C", "egg", -50, 2),
                           make_line(1, "X", "pay", 0, 900), bought(9, "D", "tea", 1234567, 7)});
    // File order is not calendar order: 180 at E (2/4) ties with B (1/5) and
    // is shown as the later; of the two 2/10 purchases the later line, H, is
    // the latest and gives the kind.
    src.put("2024_2.kzn", {bought(10, "F", "milk", 240, 3), bought(4, "E", "milk", 180, 3),
                           bought(0, "G", "egg", 30, 2), bought(10, "H", "milk", 230, 4)});
    recording_notifier n;
    const price_book book = book_of(src, query_of(2024, 1, 2024, 2, ""), n);
    const kind_list kinds{entry(1, sjis("食費")), entry(4, sjis("乳製品"))};
    EXPECT_EQ(rows_of(book, kinds),
              (rows{{"milk", sjis("乳製品"), "5", "180", "E", "2024/2/4", "230", "H", "2024/2/10", "27.8"},
                    {"tea", "7", "1", "1,234,567", "D", "2024/1/9", "1,234,567", "D", "2024/1/9", "0.0"},
                    {"egg", "2", "1", "30", "G", "2024/2/0", "30", "G", "2024/2/0", "0.0"}}));
    EXPECT_TRUE(n.told.empty());
}

TEST(PriceBook, riseIsRoundedHalfUpToOneDecimal) {
    // clang-format off
    for (const auto& [lowest, latest, text] : {std::tuple{100, 100, "0.0"}, {3, 4, "33.3"}, {3, 5, "66.7"},
             {2000, 2001, "0.1"}, {4000, 4002, "0.1"}, {1, 2147483647, "214748364600.0"},
             {8, 9, "12.5"}, {16, 17, "6.3"}}) {
        // clang-format on
        price_book_entry e;
        e.lowest = lowest;
        e.latest = latest;
        e.lowest_time.month = e.latest_time.month = 1;
        EXPECT_EQ(price_book_row(e, {})[std::size_t(book_column::rise)], text) << lowest << ' ' << latest;
    }
}

TEST(PriceBook, itemsAreTheirExactBytesCutTo20) {
    const std::string twenty = sjis("あいうえおかきくけこ");
    const std::string lone = sjis("ミルク") + "\x83"; // a lead byte without its trail
    // Both are cut inside their last character, after the same lead byte 0x82.
    const std::string x_ko = "x" + sjis("あいうえおかきくけこ"), x_go = "x" + sjis("あいうえおかきくけご");
    fake_month_source src;
    src.put("2000_1.csv",
            {bought(1, "s", twenty + "XY", 100), bought(2, "s", twenty + "Z", 90),
             bought(3, "s", sjis("ミルク"), 50), bought(4, "s", lone, 60), bought(5, "s", "Milk", 70),
             bought(6, "s", "milk ", 80), bought(7, "s", sjis("ﾐﾙｸ"), 10), bought(8, "s", x_ko, 5),
             bought(9, "s", x_go, 6)});
    recording_notifier n;
    const price_book book = book_of(src, query_of(2000, 1, 2000, 1, "", 1), n);
    EXPECT_EQ(items_of(book), twenty + " 2|" + sjis("ミルク") + " 1|" + lone + " 1|Milk 1|milk  1|" +
                                  sjis("ﾐﾙｸ") + " 1|" + x_ko.substr(0, 20) + " 2|");
    EXPECT_EQ(x_ko.substr(0, 20).back(), '\x82');
}

TEST(PriceBook, bytesBehindAnItemInItsFieldPlayNoPart) {
    // As a KZN record fills a field: its 20 bytes whatever the length says.
    const char first[] = "milkXXXXXXXXXXXXXXXX", second[] = "milkYYYYYYYYYYYYYYYY";
    price_book book;
    for (const char* field : {first, second, "milk\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"}) {
        shuushi_line line = bought(1, "s", "", 100);
        line.item.assign_block(field, 4);
        book.add(line, 2000, 1);
    }
    EXPECT_EQ(items_of(book), "milk 3|");
}

TEST(PriceBook, aNamedItemNarrowsTheBookToItAlone) {
    fake_month_source src;
    src.put("2000_1.kzn",
            {bought(1, "s", "milk", 100), bought(1, "s", "egg", 10), bought(2, "t", "milk", 90)});
    for (const auto& [asked, expected] : {std::pair{"milk", "milk 2|"}, {"", "milk 2|egg 1|"}, {"mil", ""}}) {
        recording_notifier n;
        EXPECT_EQ(items_of(book_of(src, query_of(2000, 1, 2000, 1, asked), n)), expected) << asked;
    }
}

// Both consumers of the walk, the line walk and the price book, tell each missing month and skip a
// damaged one, although it filled the table part-way before it failed.
TEST(MonthWalkAndPriceBook, missingMonthsAreToldOneByOneAndDamagedOnesSkipped) {
    fake_month_source src;
    src.put("2000_1.kzn", {bought(1, "a", "milk", 100)});
    src.put("2000_3.kzn", {bought(1, "b", "milk", 1), bought(1, "b", "tea", 5)}, true);
    src.put("2000_5.kzn", {bought(1, "c", "milk", 120)});
    const told missing{{message_kind::error, sjis("ファイル(/prog/2000_2.kzn)がありません")},
                       {message_kind::error, sjis("ファイル(/prog/2000_4.kzn)がありません")}};
    recording_notifier n;
    std::vector<std::string> dates;
    (void)month_walk(
        query_of(2000, 1, 2000, 5), src.dir, n,
        [&](auto&, auto, auto, std::string_view d) { return dates.emplace_back(d), walk_answer::go_on; },
        src);
    EXPECT_EQ(std::tuple(dates, src.read_names, n.told),
              std::tuple(std::vector<std::string>{"2000/1/1", "2000/5/1"},
                         std::vector<std::string>{"2000_1.kzn", "2000_3.kzn", "2000_5.kzn"}, missing));
    recording_notifier book_n;
    EXPECT_EQ(rows_of(book_of(src, query_of(2000, 1, 2000, 5, ""), book_n)),
              (rows{{"milk", "", "2", "100", "a", "2000/1/1", "120", "c", "2000/5/1", "20.0"}}));
    EXPECT_EQ(book_n.told, missing);
}

// The stop answer at a missing month ends the walk: no later month is read and no book is made.
TEST(PriceBook, theStopAnswerAtAMissingMonthLeavesNoBook) {
    fake_month_source src;
    for (const char* name : {"2000_1.kzn", "2000_3.kzn", "2000_5.kzn"})
        src.put(name, {bought(1, "a", "milk", 100)});
    for (const auto& [stop_at, read] : {std::pair(0, 3), {1, 1}, {2, 2}}) {
        stopping_notifier n;
        n.stop_at = stop_at;
        src.read_names.clear();
        const std::optional<price_book> book =
            gather_price_book(query_of(2000, 1, 2000, 5, ""), src.dir, n, src);
        EXPECT_EQ(
            std::tuple(book ? book->entries().at(0).count : 0, int(src.read_names.size()), n.told.size()),
            std::tuple(stop_at ? 0 : 3, read, std::size_t(stop_at ? stop_at : 2)))
            << stop_at;
        EXPECT_TRUE(n.asked.empty());
    }
}

TEST(PriceBook, fullMonthsKeepOneEntryPerItem) {
    fake_month_source src;
    std::vector<shuushi_line> month;
    for (int i = 0; i < max_lines; ++i)
        month.push_back(bought(i % 31 + 1, "s", "item" + std::to_string(i % 700), 1000 - i % 997));
    src.put("2001_1.kzn", month);
    src.put("2001_2.kzn", month);
    recording_notifier n;
    const price_book book = book_of(src, query_of(2001, 1, 2001, 2, ""), n);
    ASSERT_EQ(book.size(), 700u);
    int lines = 0;
    for (const auto& e : book.entries())
        lines += e.count;
    EXPECT_EQ(lines, 2 * max_lines);
    // item0 is lines 0, 700 and 1400 of each month, on days 1, 19 and 6, at
    // 1000, 300 and 597: lowest and latest are both February's day 19.
    const price_book_entry& first = book.entries().front();
    const purchase_time feb_19{2001, 2, 19, max_lines + 700};
    EXPECT_EQ(std::tuple(first.count, first.lowest, first.latest, first.lowest_time, first.latest_time),
              std::tuple(6, 300, 300, feb_19, feb_19));
}

// 1500 items over three months, against a plain map that applies the
// rules line by line: the index grows several times and the entries fill many
// blocks. The walk's month-at-a-time count and add() must both agree with it.
TEST(PriceBook, manyItemsAgreeWithAPlainCountLineByLine) {
    fake_month_source src;
    std::vector<std::vector<shuushi_line>> months;
    for (int m = 1; m <= 3; ++m) {
        std::vector<shuushi_line> month;
        for (int i = 0; i < max_lines; ++i)
            // Lines i and i + 1500 buy the same item on the same day at the
            // same price, at another shop.
            month.push_back(bought((i % 300 * 5 + m) % 31 + 1, "s" + std::to_string((i + m) % 13),
                                   "item" + std::to_string((i * 7 + m * 3) % 1500),
                                   i % 50 == 0 ? 0 : 1 + (i * 37 + m) % 500, i % 9));
        src.put("2001_" + std::to_string(m) + ".kzn", month);
        months.push_back(std::move(month));
    }
    std::vector<price_book_entry> expected;
    std::map<std::string, std::size_t> place;
    price_book added;
    std::uint32_t order = 0;
    for (std::uint16_t m = 1; m <= 3; ++m) {
        for (const shuushi_line& line : months[m - 1]) {
            added.add(line, 2001, m);
            if (line.expense <= 0) continue;
            const purchase_time when{2001, m, line.day, order++};
            const auto [at, is_new] = place.try_emplace(line.item.str(), expected.size());
            if (is_new) {
                expected.push_back({line.item, line.kind, 1, line.expense, line.expense, when, when, line.shop,
                                    line.shop});
                continue;
            }
            price_book_entry& e = expected[at->second];
            ++e.count;
            if (line.expense < e.lowest || (line.expense == e.lowest && when > e.lowest_time))
                std::tie(e.lowest, e.lowest_time, e.lowest_shop) = std::tuple(line.expense, when, line.shop);
            if (when > e.latest_time)
                std::tie(e.latest, e.latest_time, e.latest_shop, e.kind) =
                    std::tuple(line.expense, when, line.shop, line.kind);
        }
    }
    ASSERT_EQ(expected.size(), 1500u);
    recording_notifier n;
    const price_book walked = book_of(src, query_of(2001, 1, 2001, 3, ""), n);
    const auto fields = [](const price_book_entry& e) {
        return std::tuple(e.item.str(), e.kind, e.count, e.lowest, e.lowest_shop.str(), e.lowest_time, e.latest,
                          e.latest_shop.str(), e.latest_time);
    };
    for (const price_book* book : {&walked, static_cast<const price_book*>(&added)}) {
        ASSERT_EQ(book->size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(fields(book->entries()[i]), fields(expected[i])) << i;
    }
}

TEST(PriceBook, headerClicksOrderNumbersByValueAndTextsByBytes) {
    fake_month_source src;
    src.put("2000_1.kzn", {bought(9, sjis("あ"), "b", 1000), bought(1, "Z", "a", 90), bought(2, "z", "c", 90),
                           bought(3, "y", "a", 900), bought(5, sjis("ｱ"), "d", 90)});
    recording_notifier n;
    const price_book book = book_of(src, query_of(2000, 1, 2000, 1, ""), n);
    const auto items = [&](book_column c, bool ascending) {
        std::string out;
        for (const std::size_t i : price_book_order(book.entries().to_vector(), {}, c, ascending))
            out += book.entries()[i].item.str();
        return out;
    };
    // b: 1000 once; a: 90 then 900 (900.0 %); c: 90 at z; d: 90 at ｱ (0xB1).
    // clang-format off
    for (const auto& [column, ascending, expected] : {
             std::tuple{book_column::item, true, "abcd"}, {book_column::item, false, "dcba"},
             {book_column::lowest, true, "acdb"},  {book_column::lowest, false, "bacd"},
             {book_column::count, false, "abcd"},  {book_column::latest, true, "cdab"},
             {book_column::rise, false, "abcd"},   {book_column::latest_shop, true, "acbd"},
             {book_column::lowest_shop, true, "acbd"}, {book_column::latest_date, true, "cadb"},
             {book_column::lowest_date, false, "bdca"}}) {
        // clang-format on
        EXPECT_EQ(items(column, ascending), expected) << int(column) << ascending;
    }
}

} // namespace
} // namespace kozenica
