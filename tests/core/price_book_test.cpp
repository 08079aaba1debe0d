// The price book over the month walk: one row per item text, its lowest and
// latest purchase, and the orders a click on a column asks for.
#include "core/price_book.h"
#include "period_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
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
    src.put("2024_3.kzn", {bought(1, "X", "milk", 1)}, true); // damaged after filling the table: skipped
    recording_notifier n;
    const price_book book = book_of(src, query_of(2024, 1, 2024, 3, ""), n);
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
