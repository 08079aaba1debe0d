#include "core/digits.h"
#include "core/lists.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

// digits_to_int takes every half or full-width digit in order (a digit byte that is the second byte of a
// double-byte character, "\x83" "5", counts nothing; half-width katakana are single bytes); a list number
// is decimal or $hex running to the end of its first 20 bytes, else 0.
TEST(digits_to_int_and_list_number_value, read_numbers_from_text) {
    // clang-format off
    const std::tuple<std::string, std::int32_t, std::int32_t> cases[] = {
        {"", 0, 0}, {sjis("円"), 0, 0}, {"1,234", 1234, 0}, {"-50", 50, -50}, {"3.5", 35, 0}, {sjis("12日"), 12, 0},
        {sjis("１２"), 12, 0}, {sjis("1２3"), 123, 0}, {sjis("¥1,234"), 1234, 0}, {"1 2 3 4", 1234, 0}, {"+-1", 1, 0},
        {"2147483647", 2147483647, 2147483647}, {"2147483648", -2147483647 - 1, 0}, {"4294967297", 1, 0},
        {"\x83" "57", 7, 0}, {"12\x82", 12, 0}, {"\xb1" "9", 9, 0}, {"   12", 12, 12}, {"+7", 7, 7}, {"0010", 10, 10},
        {"-2147483647", 2147483647, -2147483647}, {"-2147483648", -2147483647 - 1, 0}, {"$FFFFFFFF", 0, -1},
        {"$80000000", 80000000, -2147483647 - 1}, {"$fFfF", 0, 65535}, {"  $0000000A", 0, 10}, {"$", 0, 0},
        {std::string(19, ' ') + "56", 56, 5}, {"                 -12", 12, -12}, {"  -0", 0, 0}, {"$G", 0, 0},
        {"$123456789", 123456789, 0}, {"$-1", 1, 0}, {"-$1", 1, 0}, {"   ", 0, 0}, {"+", 0, 0}, {"12 ", 12, 0},
        {"\t12", 12, 0}, {"12\n", 12, 0}, {"0x10", 10, 0}, {std::string(20, '0') + "1", 1, 0},
        {"1234567890123456789$", 2112454933, 0}};
    // clang-format on
    for (const auto& [text, digits, number] : cases)
        EXPECT_EQ(std::pair(digits_to_int(text), list_number_value(text)), std::pair(digits, number)) << text;
    const std::int64_t values[] = {0, 999, 1000, 1234567, -12345, -100, 4294967296, INT64_MIN};
    std::string texts = day_cell_text(0) + kind_cell_text(0) + amount_cell_text(0); // zero cells are empty
    for (const std::int64_t v : values)
        texts += format_comma(v) + " ";
    EXPECT_EQ(texts + day_cell_text(31) + " " + kind_cell_text(12) + " " + amount_cell_text(-1234),
              "0 999 1,000 1,234,567 -12,345 -100 4,294,967,296 -9,223,372,036,854,775,808 31 12 -1,234");
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
}

} // namespace
} // namespace kozenica
