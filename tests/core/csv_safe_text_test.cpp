// Texts that a CSV line cannot carry: found in order, and written safely.
#include "core/csv_safe_text.h"
#include "core/month_file.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

TEST(csv_safe_text, finds_the_first_text_by_line_then_shop_item_memo_and_counts_them) {
    using place = std::optional<text_place>;
    // clang-format off
    const std::tuple<std::vector<shuushi_line>, place, int> cases[] = {
        {{make_line(1, "", sjis("繰越")), make_line(3, sjis("表ソ"), "x", 1, 2, 3, "m")}, std::nullopt, 0},
        {{make_line(1, "a"), make_line(2, "s", "i", 0, 0, 0, "m\x1A"), make_line(3, "A,B")}, text_place{2, text_field::memo}, 2},
        {{make_line(1, "a", "b\r")}, text_place{1, text_field::item}, 1},
        {{make_line(1, "a\n", "b,", 0, 0, 0, ",")}, text_place{1, text_field::shop}, 3}};
    // clang-format on
    for (const auto& [lines, expected, count] : cases) {
        EXPECT_EQ(find_csv_unsafe_text(table_of(lines)), expected) << lines.size();
        EXPECT_EQ(count_csv_unsafe_texts(table_of(lines)), count) << lines.size();
    }
}

// Nothing is cut: a text that the full-width comma would take past 20 bytes
// takes the half-width "､" (0xA4) for every comma instead.
TEST(csv_safe_text, comma_becomes_full_width_or_half_width_others_a_space_and_nothing_is_cut) {
    const std::string x16(16, 'x'), x17(17, 'x'), x18(18, 'x'), x19(19, 'x');
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"ABC,Inc", sjis("ABC，Inc")}, {"a\rb\nc\x1A" "d", "a b c d"}, {sjis("表,ソ"), sjis("表，ソ")},
        {sjis("繰越,ab,cd,ef"), sjis("繰越，ab，cd，ef")}, {"1,2,3,4,5,6,7,8,9,10", sjis("1､2､3､4､5､6､7､8､9､10")},
        {x17 + ",y", x17 + sjis("，y")}, {x16 + ",,y", x16 + sjis("､､y")}, {x18 + ",y", x18 + sjis("､y")},
        {x19 + ",", x19 + sjis("､")}, {x17 + sjis(",表"), x17 + sjis("､表")}, {x18 + ",\x93", x18 + sjis("､") + "\x93"},
        {x18 + "\r\x93", x18 + " \x93"}, {"\x93,", "\x93" + sjis("，")}, {sjis("牛乳"), sjis("牛乳")}, {x19 + "\x93", x19 + "\x93"}};
    // clang-format on
    for (const auto& [text, safe] : cases) {
        shuushi_data table = table_of({make_line(1, text, text, 0, 0, 0, text)});
        make_texts_csv_safe(table);
        EXPECT_EQ(table.lines[1], make_line(1, safe, safe, 0, 0, 0, safe)) << text;
        EXPECT_FALSE(find_csv_unsafe_text(table).has_value()) << text;
        // What is written reads back as the month now holds it.
        temp_dir dir;
        const month_read r = read_month(dir.file("2024_5.csv"), encode_csv(table));
        EXPECT_EQ(lines_of(r.table), lines_of(table)) << text;
    }
}

} // namespace
} // namespace kozenica
