#include "core/lists.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

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
    const std::string crossing = "9" + std::string(16382, ' ') + "\r\nA\r\n"; // across the reader's pieces
    // clang-format off
    const struct { const char* what; std::string content; std::vector<list_entry> entries; } cases[] = {
        {"empty file", "", {}}, {"CR alone", "1\rA\r2\rB", {entry(1, "A"), entry(2, "B")}},
        {"CR LF", sjis("1\r\n食費\r\n2\r\n日用品\r\n"), {entry(1, sjis("食費")), entry(2, sjis("日用品"))}},
        {"lone LF", "1\nA\r\nB\r\n", {entry(0, "B")}}, {"CR LF LF", "1\r\n\nA\r\n", {entry(1, "\nA")}},
        {"0x1A ends the file, even inside a line", "1\r\nA\r\n2\x1A\r\nB\r\n", {entry(1, "A"), entry(2, "")}},
        {"number line last", "1\r\nA\r\n5", {entry(1, "A"), entry(5, "")}}, {"empty lines", "\r\n\r\n", {entry(0, "")}},
        {"name cut", "1\r\n" + std::string(30, 'n') + "\r\n2\r\nB", {entry(1, std::string(20, 'n')), entry(2, "B")}},
        {"name cut inside a character", "1\r\n" + std::string(19, 'a') + sjis("品"),
         {entry(1, std::string(19, 'a') + sjis("品").substr(0, 1))}},
        {"NUL bytes in a name", std::string("1\r\na\0b\r\n", 8), {entry(1, std::string("a\0b", 3))}},
        {"lone lead byte at the end", "1\r\n\x82", {entry(1, "\x82")}},
        {"hex and junk numbers", "$FFFFFFFF\r\nminus\r\nabc\r\nzero\r\n", {entry(-1, "minus"), entry(0, "zero")}},
        {"100,000 lines without CR", repeat("1\nname\n", 50000), {entry(0, "")}},
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
    // numbers in file order -> number:file position of each entry after sorting
    // clang-format off
    const std::pair<std::vector<std::int32_t>, std::string> cases[] = {
        {{5, 2, 2, 1}, "1:3 2:1 2:2 5:0 "}, {{}, ""}, {{3, 3, 3}, "3:0 3:1 3:2 "},
        {{-1, 10, -5, 0, 10}, "-5:2 -1:0 0:3 10:1 10:4 "}, {{2147483647, -2147483647 - 1}, "-2147483648:1 2147483647:0 "}};
    // clang-format on
    for (const auto& [numbers, expected] : cases) {
        kind_list kinds;
        std::string sorted;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            kinds.push_back(entry(numbers[i], std::to_string(i)));
        sort_kind_list(kinds);
        for (const auto& k : kinds)
            sorted += std::to_string(k.number) + ":" + k.name.str() + " ";
        EXPECT_EQ(sorted, expected);
    }
}

} // namespace
} // namespace kozenica
