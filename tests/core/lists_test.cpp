#include "core/lists.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_dir;
using testing::write_bytes;

TEST(list_number_value, decimal_or_dollar_hex_running_to_the_end) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"12", 12},
        {"   12", 12},
        {"+7", 7},
        {"-7", -7},
        {"  -0", 0},
        {"0010", 10},
        {"2147483647", 2147483647},
        {"-2147483647", -2147483647},
        {"2147483648", 0},
        {"-2147483648", 0},
        {"99999999999", 0},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"$fFfF", 65535},
        {"  $0000000A", 10},
        {"$", 0},
        {"$123456789", 0}, // nine hex digits
        {"$G", 0},
        {"$-1", 0},
        {"-$1", 0},
        {"", 0},
        {"   ", 0},
        {"+", 0},
        {"-", 0},
        {"12 ", 0},
        {"1 2", 0},
        {"\t12", 0},
        {"12\n", 0},
        {"+-1", 0},
        {"0x10", 0},
        {"abc", 0},
        {sjis("１２"), 0},
        {sjis("12日"), 0},
        // Only the first 20 bytes count.
        {std::string(19, ' ') + "56", 5},
        {"00000000000000000000"
         "1",
         0},
        {"1234567890123456789"
         "$",
         0},
        {"                 -12", -12},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(list_number_value(text), value) << '[' << text << ']';
}

list_entry entry(std::int32_t number, std::string_view name) {
    return list_entry{number, line_text(name)};
}

TEST(parse_list_file, number_and_name_line_pairs) {
    struct list_case {
        const char* what;
        std::string content;
        std::vector<list_entry> entries;
    };
    const std::string name30(30, 'n');
    const list_case cases[] = {
        {"empty file", "", {}},
        {"CR LF", sjis("1\r\n食費\r\n2\r\n日用品\r\n"), {entry(1, sjis("食費")), entry(2, sjis("日用品"))}},
        {"CR alone", "1\rA\r2\rB", {entry(1, "A"), entry(2, "B")}},
        {"lone LF is part of the line", "1\nA\r\nB\r\n", {entry(0, "B")}},
        {"CR LF LF", "1\r\n\nA\r\n", {entry(1, "\nA")}},
        {"0x1A ends the file", "1\r\nA\r\n2\x1A\r\nB\r\n", {entry(1, "A"), entry(2, "")}},
        {"0x1A inside a name",
         "1\r\nAB\x1A"
         "CD\r\n3\r\nE\r\n",
         {entry(1, "AB")}},
        {"number line at the very end", "1\r\nA\r\n5", {entry(1, "A"), entry(5, "")}},
        {"number line with its CR at the very end", "1\r\nA\r\n5\r\n", {entry(1, "A"), entry(5, "")}},
        {"empty lines are entries too", "1\r\nA\r\n\r\n", {entry(1, "A"), entry(0, "")}},
        {"name cut to 20 bytes",
         "1\r\n" + name30 + "\r\n2\r\nB",
         {entry(1, std::string(20, 'n')), entry(2, "B")}},
        {"name cut inside a character",
         "1\r\n" + std::string(19, 'a') + sjis("品"),
         {entry(1, std::string(19, 'a') + sjis("品").substr(0, 1))}},
        {"number line cut to 20 bytes", std::string(19, ' ') + "56\r\nA", {entry(5, "A")}},
        {"hex and junk numbers",
         "$FFFFFFFF\r\nminus\r\nabc\r\nzero\r\n",
         {entry(-1, "minus"), entry(0, "zero")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_list_file(c.content), c.entries) << c.what;
}

TEST(parse_list_file, stops_after_99_entries) {
    std::string content;
    for (int i = 1; i <= 150; ++i)
        content += std::to_string(i) + "\r\nname" + std::to_string(i) + "\r\n";
    const std::vector<list_entry> entries = parse_list_file(content);
    ASSERT_EQ(entries.size(), 99u);
    EXPECT_EQ(entries.front(), entry(1, "name1"));
    EXPECT_EQ(entries.back(), entry(99, "name99"));
}

TEST(read_list_file, reads_the_file_in_pieces_like_the_whole_content) {
    temp_dir dir;
    const std::string path = dir.file("kindlist.dat");
    // Long lines so that line ends fall across the reader's pieces, one of
    // them a CR as the last byte of a 16 KiB piece with its LF in the next.
    std::string content;
    for (int i = 1; i <= 120; ++i)
        content += std::to_string(i) + std::string(std::size_t(i) * 37, ' ') + "\r\n" +
                   std::string(std::size_t(i) * 53, 'x') + std::to_string(i) + "\r\n";
    std::string crossing = std::string(16383, ' ') + "\r\nA\r\n";
    crossing[0] = '9';
    struct file_case {
        const char* what;
        std::string content;
    };
    const file_case cases[] = {{"many long lines", content}, {"CR at the end of a piece", crossing}};
    for (const auto& c : cases) {
        write_bytes(path, c.content);
        EXPECT_EQ(read_list_file(path), parse_list_file(c.content)) << c.what;
    }
    EXPECT_EQ(read_list_file(path), (std::vector<list_entry>{entry(0, "A")}));
    EXPECT_EQ(parse_list_file(content).size(), 99u);
    EXPECT_TRUE(read_list_file(dir.file("missing.dat")).empty());
}

TEST(sort_kind_list, ascending_and_stable) {
    struct sort_case {
        std::vector<std::int32_t> numbers;
        std::vector<std::int32_t> sorted;
        std::vector<std::string> names; // file order of equal numbers kept
    };
    const sort_case cases[] = {
        {{5, 2, 2, 1}, {1, 2, 2, 5}, {"3", "1", "2", "0"}},
        {{}, {}, {}},
        {{7}, {7}, {"0"}},
        {{3, 3, 3}, {3, 3, 3}, {"0", "1", "2"}},
        {{-1, 10, -5, 0, 10}, {-5, -1, 0, 10, 10}, {"2", "0", "3", "1", "4"}},
        {{2147483647, -2147483647 - 1}, {-2147483647 - 1, 2147483647}, {"1", "0"}},
    };
    for (const auto& c : cases) {
        kind_list kinds;
        for (std::size_t i = 0; i < c.numbers.size(); ++i)
            kinds.push_back(entry(c.numbers[i], std::to_string(i)));
        sort_kind_list(kinds);
        std::vector<std::int32_t> numbers;
        std::vector<std::string> names;
        for (const auto& k : kinds) {
            numbers.push_back(k.number);
            names.push_back(k.name.str());
        }
        EXPECT_EQ(numbers, c.sorted);
        EXPECT_EQ(names, c.names);
    }
}

} // namespace
} // namespace kozenica
