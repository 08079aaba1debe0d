#include "core/digits.h"
#include "core/lists.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

TEST(digits_to_int, takes_half_and_full_width_digits_in_order) {
    // A digit byte that is the second byte of a double-byte character ("\x83" "5") counts nothing, nor does
    // a lone lead byte at the end; half-width katakana ("\xb1") are single bytes, not lead bytes.
    // clang-format off
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0}, {sjis("円"), 0}, {"1,234", 1234}, {"-50", 50}, {"3.5", 35}, {sjis("12日"), 12},
        {sjis("１２"), 12}, {sjis("1２3"), 123}, {sjis("¥1,234"), 1234}, {"1 2 3 4", 1234},
        {"2147483647", 2147483647}, {"2147483648", -2147483647 - 1}, {"4294967297", 1},
        {"\x83" "57", 7}, {"12\x82", 12}, {"\xb1" "9", 9}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(digits_to_int(text), value) << text;
}

TEST(format_comma, groups_by_three_with_sign_and_cells_leave_zero_empty) {
    const std::int64_t values[] = {0, 999, 1000, 1234567, -12345, -100, 4294967296, INT64_MIN};
    std::string texts;
    for (const std::int64_t v : values)
        texts += format_comma(v) + " ";
    EXPECT_EQ(texts, "0 999 1,000 1,234,567 -12,345 -100 4,294,967,296 -9,223,372,036,854,775,808 ");
    EXPECT_EQ(day_cell_text(0) + kind_cell_text(0) + amount_cell_text(0), "");
    EXPECT_EQ(day_cell_text(31) + " " + kind_cell_text(12) + " " + amount_cell_text(-1234), "31 12 -1,234");
}

TEST(list_number_value, decimal_or_dollar_hex_running_to_the_end_in_the_first_20_bytes) {
    // clang-format off
    const std::pair<std::string, std::int32_t> cases[] = {
        {"12", 12}, {"   12", 12}, {"+7", 7}, {"-7", -7}, {"0010", 10}, {"2147483647", 2147483647},
        {"-2147483647", -2147483647}, {"$FFFFFFFF", -1}, {"$80000000", -2147483647 - 1}, {"$fFfF", 65535},
        {"  $0000000A", 10}, {std::string(19, ' ') + "56", 5}, {"                 -12", -12},
        {"  -0", 0}, {"2147483648", 0}, {"-2147483648", 0}, {"$", 0}, {"$123456789", 0}, {"$G", 0},
        {"$-1", 0}, {"-$1", 0}, {"", 0}, {"   ", 0}, {"+", 0}, {"12 ", 0}, {"1 2", 0}, {"\t12", 0},
        {"12\n", 0}, {"+-1", 0}, {"0x10", 0}, {sjis("１２"), 0}, {sjis("12日"), 0},
        {std::string(20, '0') + "1", 0}, {"1234567890123456789$", 0}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(list_number_value(text), value) << '[' << text << ']';
}

TEST(read_list_file, number_and_name_line_pairs) {
    const std::string a19(19, 'a'), crossing = "9" + std::string(16382, ' ') + "\r\nA\r\n"; // across pieces
    // clang-format off
    const struct { const char* what; std::string content; std::vector<list_entry> entries; } cases[] = {
        {"empty file", "", {}}, {"CR alone", "1\rA\r2\rB", {entry(1, "A"), entry(2, "B")}},
        {"CR LF", sjis("1\r\n食費\r\n2\r\n日用品\r\n"), {entry(1, sjis("食費")), entry(2, sjis("日用品"))}},
        {"lone LF", "1\nA\r\nB\r\n", {entry(0, "B")}}, {"CR LF LF", "1\r\n\nA\r\n", {entry(1, "\nA")}},
        {"0x1A ends the file, even inside a line", "1\r\nA\r\n2\x1A\r\nB\r\n", {entry(1, "A"), entry(2, "")}},
        {"number line last", "1\r\nA\r\n5", {entry(1, "A"), entry(5, "")}}, {"empty lines", "\r\n\r\n", {entry(0, "")}},
        {"name cut inside a character", "1\r\n" + a19 + sjis("品") + "x\r\n2\r\nB",
         {entry(1, a19 + sjis("品").substr(0, 1)), entry(2, "B")}},
        {"hex and junk numbers", "$FFFFFFFF\r\nminus\r\nabc\r\nzero\r\n", {entry(-1, "minus"), entry(0, "zero")}},
        {"stops after 99 entries", repeat("7\r\nname\r\n", 150), std::vector(99, entry(7, "name"))},
        {"CR last in a piece, LF first in the next", crossing, {entry(0, "A")}}};
    // clang-format on
    temp_dir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(parse_list_file(c.content), c.entries) << c.what;
        EXPECT_EQ(read_list_file(write_bytes(dir.file("kindlist.dat"), c.content)), c.entries) << c.what;
    }
    EXPECT_TRUE(read_list_file(dir.file("missing.dat")).empty());
}

TEST(sort_kind_list, ascending_and_stable) {
    kind_list kinds; // numbers in file order, names their file positions
    for (const std::int32_t n : {5, 2, -1, 2, 2147483647, 5, -2147483647 - 1, 2})
        kinds.push_back(entry(n, std::to_string(kinds.size())));
    sort_kind_list(kinds);
    std::string sorted;
    for (const auto& k : kinds)
        sorted += std::to_string(k.number) + ":" + k.name.str() + " ";
    EXPECT_EQ(sorted, "-2147483648:6 -1:2 2:1 2:3 2:7 5:0 5:5 2147483647:4 ");
}

} // namespace
} // namespace kozenica
