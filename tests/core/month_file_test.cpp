#include "core/month_file.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

TEST(encode_month, new_month_and_field_layout) {
    const std::string zeros(40, '0'); // an empty text's 20 bytes
    const std::string new_month = "6b6f7a656e69632066696c65 02000000 01 00" + zeros + " 04 8c4a897a" +
                                  zeros.substr(8) + " 00 000000000000000000000000 00" + zeros + " 000000";
    ASSERT_EQ(hex_bytes(new_month).size(), 96u);
    EXPECT_EQ(encode_kzn(testing::new_month()), hex_bytes(new_month));
    const std::pair<shuushi_line, std::string> records[] = {
        {make_line(31, "AB", "C", 0x01020304, -1, 2147483647, "xyz"),
         "1f 02 4142" + zeros.substr(4) + " 01 43" + zeros.substr(2) +
             " 00 04030201 ffffffff ffffff7f 03 78797a" + zeros.substr(6) + " 000000"},
        {make_line(-3, "", "", -2147483647 - 1, 0, -1000, ""),
         "fd 00" + zeros + " 00" + zeros + " 00 00000080 00000000 18fcffff 00" + zeros + " 000000"}};
    for (const auto& [line, hex] : records)
        EXPECT_EQ(encode_kzn(table_of({line})).substr(16), hex_bytes(hex)) << hex;
    EXPECT_EQ(encode_csv(testing::new_month()), sjis("1,,繰越,0,0,0,\r\n"));
    EXPECT_EQ(encode_csv(table_of({make_line(12, sjis("店"), "A,B", 3, 1234567, 0, "m"),
                                   make_line(0, "", "", -7, -2147483647 - 1, 5)})),
              sjis("12,店,A,B,3,1234567,0,m\r\n0,,,-7,-2147483648,5,\r\n"));
}

TEST(month_file_reader, csv_lines_and_fields) {
    const std::string x250(250, 'x'), x20(20, 'x'), piece(csv_read_piece_bytes - 104, 'x');
    const std::string piece_line = "1," + piece + std::string(101, 'x'); // ends 1 byte before a piece
    const shuushi_line piece_first = make_line(1, x20);
    // clang-format off
    const struct { const char* what; std::string content; std::vector<shuushi_line> lines; } cases[] = {
        {"empty file", "", {}}, {"lone LF is a character", ",A\n,B\n,C\n", {make_line(0, "A\n", "B\n")}},
        {"CR, CR LF, no end", ",A\r,B\r\n,C", {make_line(0, "A"), make_line(0, "B"), make_line(0, "C")}},
        {"CR LF LF: the LF starts the next line", ",A\r\n\n,B", {make_line(0, "A"), make_line(0, "B")}},
        {"empty lines", "\r\n\r\r\n", {make_line(0, ""), make_line(0, ""), make_line(0, "")}},
        {"0x1A ends the file", ",A\r\n,B\x1A,C\r\n,D\r\n", {make_line(0, "A"), make_line(0, "B")}},
        {"days", "12\r\n" + sjis("１２") + "\r\n" + sjis("12日") + "\r\n3/5\r\n200\r\n31\r\n32\r\n-5\r\n", {make_line(12, ""),
         make_line(12, ""), make_line(12, ""), make_line(0, ""), make_line(0, ""), make_line(31, ""), make_line(0, ""), make_line(5, "")}},
        {"amounts keep digits", ",,,7" + sjis("種") + ",-300," + sjis("¥1200円") + "\r\n", {make_line(0, "", "", 7, 300, 1200)}},
        {"a comma shifts later fields, the 8th is ignored", "1,A,B,X,5,6,7,memo\r\n", {make_line(1, "A", "B", 0, 5, 6, "7")}},
        {"254 bytes are read whole", "1," + x250 + ",7\r\n,B", {make_line(1, x20, "7"), make_line(0, "B")}},
        {"the 255th byte is lost", "1,x" + x250 + ",7\r\n,B", {make_line(1, x20), make_line(0, "B")}},
        {"CR last in a piece, LF first in the next", piece_line + "\r\n,B", {piece_first, make_line(0, "B")}},
        {"0x1A first in the next piece", piece_line + "x\x1A,B\r\n", {piece_first}},
        {"254 bytes across pieces", "1," + piece + "\r\n2," + std::string(250, 'y') + ",7\r\n",
         {piece_first, make_line(2, std::string(20, 'y'), "7")}}};
    // clang-format on
    temp_dir dir;
    for (const auto& c : cases) {
        const month_read r = read_month(dir.file("2024_5.csv"), c.content, full_table(false));
        EXPECT_TRUE(r.ok && r.told.empty()) << c.what;
        EXPECT_EQ(lines_of(r.table), c.lines) << c.what;
    }
}

// Length bytes of shop, item and memo (21 or more count as 20), a byte past
// the item's text and a reserved byte patched into a record.
TEST(month_file_reader, kzn_texts_take_at_most_20_bytes_and_nothing_past_their_length) {
    const std::string s20(20, 's'), m20(20, 'm'), nul15(15, '\0'),
        bytes[] = {"\xff\x15\x15L", {"\x01\x04\0L", 4}};
    const shuushi_line lines[] = {make_line(2, s20, "itemL" + nul15, 1, 2, 3, m20),
                                  make_line(2, "s", "item", 1, 2, 3)};
    temp_dir dir;
    for (int i = 0; i < 2; ++i) {
        std::string p = encode_kzn(table_of({make_line(2, s20, "item", 1, 2, 3, m20)})).substr(16);
        p[1] = bytes[i][0], p[22] = bytes[i][1], p[56] = bytes[i][2], p[27] = p[77] = bytes[i][3];
        const month_read r = read_month(dir.file("2024_5.kzn"), kzn_prefix(2) + p);
        EXPECT_TRUE(r.ok && r.table.lines[1] == lines[i]) << i;
    }
    // A path longer than 253 bytes is cut before it is opened: the CSV file is read.
    const std::string cut =
        write_bytes(dir.file(std::string(249 - dir.path().size(), 'n') + ".csv"), ",A\r\n");
    EXPECT_EQ(lines_of(read_month(cut + "-and-more.kzn", "not read").table), std::vector{make_line(0, "A")});
}

// Saved over a longer file with changed_flag set (a KZN save clears it), and
// read back. Only a lower-case .csv is CSV.
TEST(month_file_writer, round_trips_in_both_formats) {
    const struct {
        const char* name;
        shuushi_data table;
        bool csv;
    } cases[] = {{"2024_5.kzn", new_month(), false},
                 {"2024_5.csv", new_month(), true},
                 {"full.kzn", full_table(true), false},
                 {"full.csv", full_table(false), true},
                 {"upper.CSV", full_table(true), false},
                 {"none.csv", table_of({}), true},
                 {"x.csv.kzn", table_of({}), false},
                 {"comma.csv", table_of({make_line(3, "A,B", "item", 4, -500, 6, "memo")}), true}};
    temp_dir dir;
    for (const auto& [name, table, csv] : cases) {
        month_state state;
        state.open_path.assign(write_bytes(dir.file(name), std::string(200000, 'x')));
        state.changed_flag = true;
        recording_notifier notify;
        ASSERT_TRUE(month_file_writer(table, state, notify)) << name;
        EXPECT_EQ(state.changed_flag, csv) << name;
        EXPECT_EQ(read_bytes(dir.file(name)), csv ? encode_csv(table) : encode_kzn(table)) << name;
        const month_read r = read_month(dir.file(name), read_bytes(dir.file(name)), new_month());
        EXPECT_TRUE(r.ok && r.told.empty() && notify.told.empty()) << name;
        const bool comma = name == std::string_view("comma.csv");
        EXPECT_EQ(lines_of(r.table),
                  comma ? std::vector{make_line(3, "A", "B", 0, 4, 500, "6")} : lines_of(table));
    }
    EXPECT_EQ(dir.count(), long(std::size(cases))); // no temporary file left
}

} // namespace
} // namespace kozenica
