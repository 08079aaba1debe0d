#include "core/month_file.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using namespace testing;

TEST(encode_kzn, new_month_and_field_offsets) {
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
}

TEST(encode_csv, seven_fields_in_plain_decimal_with_cr_lf) {
    // clang-format off
    const std::pair<std::vector<shuushi_line>, std::string> cases[] = {
        {lines_of(new_month()), sjis("1,,繰越,0,0,0,\r\n")}, {{}, ""},
        {{make_line(12, sjis("店"), "A,B", 3, 1234567, 0, "m")}, sjis("12,店,A,B,3,1234567,0,m\r\n")},
        {{make_line(0, "", "", -7, -2147483647 - 1, 5), make_line(31, "")}, "0,,,-7,-2147483648,5,\r\n31,,,0,0,0,\r\n"}};
    // clang-format on
    for (const auto& [lines, text] : cases)
        EXPECT_EQ(encode_csv(table_of(lines)), text) << text;
}

TEST(format_of_path, only_a_lower_case_csv_extension_in_the_first_253_bytes_is_csv) {
    for (const std::string& csv : {std::string("/d/2024_5.csv"), std::string(249, 'a') + ".csvx"})
        EXPECT_EQ(format_of_path(csv), month_format::csv) << csv;
    for (const std::string& kzn : {std::string("/d/2024_5.CSV"), std::string("/d/2024_5.csv.kzn"),
                                   std::string("/d.csv/2024_5"), std::string(250, 'a') + ".csv"})
        EXPECT_EQ(format_of_path(kzn), month_format::kzn) << kzn;
}

TEST(month_file_reader, csv_lines_and_fields) {
    const std::string x250(250, 'x'), x20(20, 'x'), y20(20, 'y'), piece(csv_read_piece_bytes - 104, 'x');
    const std::string piece_line = "1," + piece + std::string(101, 'x'), across = "1," + piece + "\r\n2,";
    const shuushi_line piece_first =
        make_line(1, x20); // piece_line ends 1 byte, across 100 bytes before a piece
    // clang-format off
    const struct { const char* what; std::string content; std::vector<shuushi_line> lines; } cases[] = {
        {"empty file", "", {}}, {"new month", sjis("1,,繰越,0,0,0,\r\n"), {make_line(1, "", sjis("繰越"))}},
        {"CR, CR LF, no end", ",A\r,B\r\n,C", {make_line(0, "A"), make_line(0, "B"), make_line(0, "C")}},
        {"lone LF is a character", ",A\n,B\n,C\n", {make_line(0, "A\n", "B\n")}},
        {"CR LF LF: the LF starts the next line", ",A\r\n\n,B", {make_line(0, "A"), make_line(0, "B")}},
        {"empty lines", "\r\n\r\r\n", {make_line(0, ""), make_line(0, ""), make_line(0, "")}},
        {"0x1A ends the file", ",A\r\n,B\x1A,C\r\n,D\r\n", {make_line(0, "A"), make_line(0, "B")}},
        {"0x1A after CR", ",A\r\x1A\n,B\r\n", {make_line(0, "A")}}, {"0x1A first", "\x1A,A\r\n", {}},
        {"NUL bytes in a field", std::string("1,a\0b,c\r\n", 9), {make_line(1, std::string("a\0b", 3), "c")}},
        {"lone lead byte at the end", "1,\x82,b,0,0,0,\x82", {make_line(1, "\x82", "b", 0, 0, 0, "\x82")}},
        {"days", "12\r\n" + sjis("１２") + "\r\n" + sjis("12日") + "\r\n3/5\r\n200\r\n31\r\n32\r\n-5\r\n",
         {make_line(12, ""), make_line(12, ""), make_line(12, ""), make_line(0, ""), make_line(0, ""),
          make_line(31, ""), make_line(0, ""), make_line(5, "")}},
        {"amounts keep digits only", ",,,7" + sjis("種") + ",-300," + sjis("¥1200円") + "\r\n",
         {make_line(0, "", "", 7, 300, 1200)}},
        {"a comma shifts later fields, the 8th is ignored", "1,A,B,X,5,6,7,memo\r\n", {make_line(1, "A", "B", 0, 5, 6, "7")}},
        {"texts cut to 20 bytes", "1," + std::string(19, 's') + sjis("店") + ",",
         {make_line(1, std::string(19, 's') + sjis("店").substr(0, 1))}},
        {"254 bytes are read whole", "1," + x250 + ",7\r\n,B", {make_line(1, x20, "7"), make_line(0, "B")}},
        {"the 255th byte is lost", "1,x" + x250 + ",7\r\n,B", {make_line(1, x20), make_line(0, "B")}},
        {"a memo across byte 254", "1," + std::string(240, 's') + ",i,0,0,9,mmmmmmmm\r\n",
         {make_line(1, std::string(20, 's'), "i", 0, 0, 9, "mmm")}},
        {"0x1A past byte 254 ends the file", "1," + x250 + "xx\x1A\r\n,B", {make_line(1, x20)}},
        {"CR last in a piece, LF first in the next", piece_line + "\r\n", {piece_first}},
        {"CR last in a piece, line after it", piece_line + "\r,B", {piece_first, make_line(0, "B")}},
        {"0x1A first in the next piece", piece_line + "x\x1A,B\r\n", {piece_first}},
        {"254 bytes across pieces", across + std::string(250, 'y') + ",7\r\n", {piece_first, make_line(2, y20, "7")}},
        {"255 bytes across pieces", across + std::string(251, 'y') + ",7\r\n", {piece_first, make_line(2, y20)}}};
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
    const std::string s20(20, 's'), m20(20, 'm');
    const std::string record = encode_kzn(table_of({make_line(2, s20, "item", 1, 2, 3, m20)})).substr(16);
    const std::pair<std::string, shuushi_line> cases[] = {
        {"\xff\x15\x15L", make_line(2, s20, "itemL" + std::string(15, '\0'), 1, 2, 3, m20)},
        {std::string("\x01\x04\x00L", 4), make_line(2, "s", "item", 1, 2, 3, "")}};
    temp_dir dir;
    for (const auto& [bytes, line] : cases) {
        std::string p = record;
        p[1] = bytes[0], p[22] = bytes[1], p[56] = bytes[2], p[27] = p[77] = bytes[3];
        const month_read r = read_month(dir.file("2024_5.kzn"), kzn_prefix(2) + p);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.table.lines[1], line);
    }
    // A path longer than 253 bytes is cut before it is opened: the CSV file is read.
    const std::string cut =
        write_bytes(dir.file(std::string(249 - dir.path().size(), 'n') + ".csv"), ",A\r\n");
    EXPECT_EQ(lines_of(read_month(cut + "-and-more.kzn", "not read").table), std::vector{make_line(0, "A")});
}

// Saved over a longer file with changed_flag set (a KZN save clears it), and read back.
TEST(month_file_writer, round_trips_in_both_formats) {
    // clang-format off
    const auto same = [](const char* name, const shuushi_data& t) { return std::tuple{name, t, lines_of(t)}; };
    const std::tuple<const char*, shuushi_data, std::vector<shuushi_line>> cases[] = {
        same("2024_5.kzn", new_month()), same("2024_5.csv", new_month()), same("full.kzn", full_table(true)),
        same("full.csv", full_table(false)), same("upper.CSV", full_table(true)), same("none.kzn", table_of({})),
        same("none.csv", table_of({})),
        {"comma.csv", table_of({make_line(3, "A,B", "item", 4, -500, 6, "memo")}), {make_line(3, "A", "B", 0, 4, 500, "6")}}};
    // clang-format on
    temp_dir dir;
    for (const auto& [name, table, back] : cases) {
        month_state state;
        state.open_path.assign(write_bytes(dir.file(name), std::string(200000, 'x')));
        state.changed_flag = true;
        recording_notifier notify;
        ASSERT_TRUE(month_file_writer(table, state, notify)) << name;
        EXPECT_EQ(state.changed_flag, std::string_view(name).ends_with(".csv")) << name;
        EXPECT_EQ(read_bytes(dir.file(name)), encode_for(name, table)) << name;
        const month_read r = read_month(dir.file(name), read_bytes(dir.file(name)), new_month());
        EXPECT_TRUE(r.ok && r.told.empty() && notify.told.empty()) << name;
        EXPECT_EQ(lines_of(r.table), back) << name;
    }
    EXPECT_EQ(dir.names().size(), std::size(cases)); // no temporary file left
}

} // namespace
} // namespace kozenica
