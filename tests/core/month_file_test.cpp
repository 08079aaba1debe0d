#include "core/digits.h"
#include "core/month_file.h"
#include "core/texts.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <system_error>

namespace kozenica {
namespace {

using testing::hex_bytes;
using testing::read_bytes;
using testing::recording_notifier;
using testing::sjis;
using testing::temp_dir;
using testing::write_bytes;

shuushi_line make_line(int day, std::string_view shop, std::string_view item, std::int32_t kind,
                       std::int32_t income, std::int32_t expense, std::string_view memo) {
    shuushi_line line;
    line.day = static_cast<std::int8_t>(day);
    line.shop.assign(shop);
    line.item.assign(item);
    line.kind = kind;
    line.income = income;
    line.expense = expense;
    line.memo.assign(memo);
    return line;
}

shuushi_data table_of(const std::vector<shuushi_line>& lines) {
    shuushi_data table;
    for (std::size_t i = 0; i < lines.size(); ++i)
        table.lines[i + 1] = lines[i];
    table.row_count = static_cast<std::int32_t>(lines.size() + 1);
    return table;
}

shuushi_data new_month() {
    shuushi_data table;
    month_state state;
    init_data(table, state);
    return table;
}

// 20 bytes: a readable start, then filler, ending in the lead byte of a
// double-byte character whose second byte was cut away.
std::string cut_text(std::string_view start, std::size_t i) {
    std::string s = std::string(start) + std::to_string(i);
    s.resize(19, 'z');
    s.push_back('\x93'); // first byte of a double-byte character
    return s;
}

// All 1999 lines, every text exactly 20 bytes. Negative numbers only when the
// format can hold them (CSV keeps only digits).
shuushi_data full_table(bool with_negatives) {
    shuushi_data table;
    table.row_count = max_rows;
    for (int i = 1; i <= max_lines; ++i) {
        const std::int32_t sign = with_negatives && i % 2 ? -1 : 1;
        table.lines[static_cast<std::size_t>(i)] =
            make_line(i % 32, cut_text(sjis("店"), i), cut_text(sjis("品名"), i), i % 100, sign * i * 1000,
                      2147000000 + i * 7, cut_text("memo", i));
    }
    return table;
}

std::vector<shuushi_line> lines_of(const shuushi_data& table) {
    std::vector<shuushi_line> out;
    for (int i = 1; i < table.row_count; ++i)
        out.push_back(table.lines[static_cast<std::size_t>(i)]);
    return out;
}

// ---- the bytes of each format ----

std::string kzn_prefix(std::int32_t row_count, std::string_view header = "kozenic file") {
    std::string out(header);
    out.resize(12, ' ');
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(row_count) >> (8 * i)) & 0xFF));
    return out;
}

const std::string header_hex = "6b 6f 7a 65 6e 69 63 20 66 69 6c 65"; // "kozenic file"
const std::string twenty_zeros = "00000000 00000000 00000000 00000000 00000000";

TEST(encode_kzn, new_month_is_header_row_count_and_one_96_byte_record) {
    const std::string expected = hex_bytes(header_hex + " 02000000"                             // row count 2
                                           + " 01"                                              // day 1
                                           + " 00" + twenty_zeros                               // shop: empty
                                           + " 04 8c4a897a 00000000 00000000 00000000 00000000" // item 繰越
                                           + " 00"                                              // reserved
                                           + " 00000000 00000000 00000000" // kind, income, expense
                                           + " 00" + twenty_zeros          // memo: empty
                                           + " 000000");                   // reserved
    ASSERT_EQ(expected.size(), 96u);
    EXPECT_EQ(encode_kzn(new_month()), expected);
}

TEST(encode_kzn, stores_each_field_at_its_offset_little_endian) {
    struct record_case {
        shuushi_line line;
        std::string record_hex;
    };
    const record_case cases[] = {
        {make_line(31, "AB", "C", 0x01020304, -1, 2147483647, "xyz"),
         "1f  02 4142 000000000000000000000000000000000000  01 43 00000000000000000000000000000000000000  00"
         "  04030201 ffffffff ffffff7f  03 78797a 0000000000000000000000000000000000  000000"},
        {make_line(-3, "", "", -2147483647 - 1, 0, -1000, ""),
         "fd  00" + twenty_zeros + "  00" + twenty_zeros + "  00  00000080 00000000 18fcffff  00" +
             twenty_zeros + "  000000"},
    };
    for (const auto& c : cases) {
        const std::string bytes = encode_kzn(table_of({c.line}));
        ASSERT_EQ(bytes.size(), 96u);
        EXPECT_EQ(bytes.substr(16), hex_bytes(c.record_hex)) << c.record_hex;
    }
}

TEST(encode_kzn, row_count_outside_the_table_never_writes_outside_the_slots) {
    shuushi_data table = full_table(true);
    // row count in the table -> row count stored, which matches the records that follow
    const std::pair<std::int32_t, std::int32_t> cases[] = {{1, 1},       {0, 1},       {-5, 1},
                                                           {2000, 2000}, {2001, 2000}, {2147483647, 2000}};
    for (const auto& [row_count, stored] : cases) {
        table.row_count = row_count;
        const std::string bytes = encode_kzn(table);
        EXPECT_EQ(bytes.size(), 16 + 80 * static_cast<std::size_t>(stored - 1)) << row_count;
        EXPECT_EQ(bytes.substr(0, 16), kzn_prefix(stored)) << row_count;
    }
}

TEST(encode_csv, writes_seven_fields_in_plain_decimal_with_cr_lf) {
    struct csv_case {
        std::vector<shuushi_line> lines;
        std::string text;
    };
    const csv_case cases[] = {
        {lines_of(new_month()), sjis("1,,繰越,0,0,0,\r\n")},
        {{}, ""},
        {{make_line(12, sjis("店"), "A,B", 3, 1234567, 0, "m")}, sjis("12,店,A,B,3,1234567,0,m\r\n")},
        {{make_line(0, "", "", -7, -2147483647 - 1, 5, ""), make_line(31, "", "", 0, 0, 0, "")},
         "0,,,-7,-2147483648,5,\r\n31,,,0,0,0,\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encode_csv(table_of(c.lines)), c.text) << c.text;
}

// ---- format choice ----

TEST(format_of_path, only_a_lower_case_csv_extension_is_csv) {
    const std::pair<std::string, month_format> cases[] = {
        {"/d/2024_5.csv", month_format::csv},
        {"/d/2024_5.kzn", month_format::kzn},
        {"/d/2024_5.CSV", month_format::kzn},
        {"/d/2024_5.Csv", month_format::kzn},
        {"/d/2024_5.csv.kzn", month_format::kzn},
        {"/d.csv/2024_5", month_format::kzn},
        {"", month_format::kzn},
        {"csv", month_format::kzn},
        // The path is cut to 253 bytes before its extension is looked at.
        {std::string(249, 'a') + ".csv", month_format::csv},
        {std::string(249, 'a') + ".csvx", month_format::csv},
        {std::string(250, 'a') + ".csv", month_format::kzn},
    };
    for (const auto& [path, format] : cases)
        EXPECT_EQ(format_of_path(path), format) << path;
}

// ---- reading CSV ----

struct csv_read_case {
    const char* what;
    std::string content;
    std::vector<shuushi_line> lines;
};

shuushi_line shop_line(std::string_view shop) {
    return make_line(0, shop, "", 0, 0, 0, "");
}

TEST(month_file_reader, csv_lines_and_fields) {
    const std::string x250(250, 'x');
    const std::string x20(20, 'x');
    const csv_read_case cases[] = {
        {"empty file", "", {}},
        {"new month", sjis("1,,繰越,0,0,0,\r\n"), {make_line(1, "", sjis("繰越"), 0, 0, 0, "")}},
        {"CR, CR LF and a last line without end",
         ",A\r,B\r\n,C",
         {shop_line("A"), shop_line("B"), shop_line("C")}},
        {"lone LF is a character", ",A\n,B\n,C\n", {make_line(0, "A\n", "B\n", 0, 0, 0, "")}},
        {"CR LF LF: the second LF starts the next line", ",A\r\n\n,B", {shop_line("A"), shop_line("B")}},
        {"empty lines", "\r\n\r\r\n", {shop_line(""), shop_line(""), shop_line("")}},
        {"0x1A ends the file", ",A\r\n,B\x1A,C\r\n,D\r\n", {shop_line("A"), shop_line("B")}},
        {"0x1A right after CR", ",A\r\x1A\n,B\r\n", {shop_line("A")}},
        {"0x1A first", "\x1A,A\r\n", {}},
        {"days",
         "12\r\n" + sjis("１２") + "\r\n" + sjis("12日") + "\r\n3/5\r\n200\r\n31\r\n32\r\n-5\r\n",
         {make_line(12, "", "", 0, 0, 0, ""), make_line(12, "", "", 0, 0, 0, ""),
          make_line(12, "", "", 0, 0, 0, ""), make_line(0, "", "", 0, 0, 0, ""),
          make_line(0, "", "", 0, 0, 0, ""), make_line(31, "", "", 0, 0, 0, ""),
          make_line(0, "", "", 0, 0, 0, ""), make_line(5, "", "", 0, 0, 0, "")}},
        {"amounts keep their digits only",
         ",,,7" + sjis("種") + ",-300," + sjis("¥1200円") + "\r\n",
         {make_line(0, "", "", 7, 300, 1200, "")}},
        {"a comma in the shop shifts every later field",
         "1,A,B,X,5,6,7,memo\r\n",
         {make_line(1, "A", "B", 0, 5, 6, "7")}},
        {"text after the seventh comma is ignored",
         "1,s,i,2,3,4,m,extra,more\r\n",
         {make_line(1, "s", "i", 2, 3, 4, "m")}},
        {"missing fields stay empty", "5,shop\r\n", {make_line(5, "shop", "", 0, 0, 0, "")}},
        {"texts are cut to 20 bytes, also inside a character",
         "1," + std::string(19, 's') + sjis("店") + ",",
         {make_line(1, std::string(19, 's') + sjis("店").substr(0, 1), "", 0, 0, 0, "")}},
        {"a line of 254 bytes is read whole",
         "1," + x250 + ",7\r\n,B",
         {make_line(1, x20, "7", 0, 0, 0, ""), shop_line("B")}},
        {"a line of 255 bytes loses its last byte",
         "1,x" + x250 + ",7\r\n,B",
         {make_line(1, x20, "", 0, 0, 0, ""), shop_line("B")}},
        {"a comma past byte 254 is skipped with the rest",
         "1," + x250 + "xx,7,8,9\r\n,B",
         {make_line(1, x20, "", 0, 0, 0, ""), shop_line("B")}},
        {"0x1A in the skipped rest of a long line ends the file",
         "1," + x250 + "xx\x1A\r\n,B",
         {make_line(1, x20, "", 0, 0, 0, "")}},
    };
    temp_dir dir;
    const std::string path = dir.file("2024_5.csv");
    for (const auto& c : cases) {
        write_bytes(path, c.content);
        shuushi_data table = full_table(false); // leftovers that must not show through
        recording_notifier notify;
        EXPECT_TRUE(month_file_reader(path, table, notify)) << c.what;
        EXPECT_EQ(lines_of(table), c.lines) << c.what;
        EXPECT_TRUE(notify.told.empty()) << c.what;
    }
}

TEST(month_file_reader, csv_reads_at_most_1999_lines) {
    temp_dir dir;
    const std::string path = dir.file("2024_5.csv");
    std::string content;
    for (int i = 1; i <= 2500; ++i)
        content += "1," + std::to_string(i) + "\r\n";
    write_bytes(path, content);
    shuushi_data table;
    recording_notifier notify;
    ASSERT_TRUE(month_file_reader(path, table, notify));
    EXPECT_EQ(table.row_count, 2000);
    EXPECT_EQ(table.lines[1999].shop, "1999");
    // The slot past the table is never touched.
    EXPECT_EQ(table.lines[2000], shuushi_line{});
}

// The reader takes the file in pieces; line ends, the end-of-file byte and
// long lines must not care where a piece ends.
TEST(month_file_reader, csv_line_ends_across_read_pieces) {
    constexpr std::size_t piece = csv_read_piece_bytes;
    struct piece_case {
        const char* what;
        std::string tail; // what follows a first line that fills the first piece but for its last byte
        int row_count;
    };
    const piece_case cases[] = {
        {"CR last in a piece, LF first in the next", "\r\n", 2},
        {"CR last in a piece, next line after it", "\r,B", 3},
        {"0x1A first in the next piece", "x\x1A,B\r\n", 2},
        {"CR last, then 0x1A", "\r\x1A,B", 2},
    };
    temp_dir dir;
    const std::string path = dir.file("x.csv");
    for (const auto& c : cases) {
        write_bytes(path, "1," + std::string(piece - 3, 'x') + c.tail);
        shuushi_data table;
        recording_notifier notify;
        ASSERT_TRUE(month_file_reader(path, table, notify));
        EXPECT_EQ(table.row_count, c.row_count) << c.what;
        EXPECT_EQ(table.lines[1], make_line(1, std::string(20, 'x'), "", 0, 0, 0, "")) << c.what;
    }
}

// The CSV rules read the plainest way, byte by byte, to hold the reader's
// fast paths (16 bytes a step, lines parsed where they stand in a piece, lines
// spanning pieces) to.
shuushi_data plain_csv_reading(std::string_view bytes) {
    shuushi_data table;
    table.row_count = 1;
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::size_t i = 0;
    while (i < bytes.size() && table.row_count < max_rows) {
        std::string line;
        for (; i < bytes.size() && bytes[i] != '\r'; ++i)
            if (line.size() < 254) line += bytes[i];
        if (i < bytes.size() && ++i < bytes.size() && bytes[i] == '\n') ++i;
        shuushi_line& l = table.lines[static_cast<std::size_t>(table.row_count++)];
        l = shuushi_line{};
        std::string_view rest = line;
        for (int field = 1; field <= 7; ++field) {
            const auto comma = rest.find(',');
            const std::string_view text = rest.substr(0, comma).substr(0, 20);
            const std::int32_t value = digits_to_int(text);
            if (field == 1) l.day = static_cast<std::int8_t>(value >= 0 && value <= 31 ? value : 0);
            if (field == 2) l.shop.assign(text);
            if (field == 3) l.item.assign(text);
            if (field == 4) l.kind = value;
            if (field == 5) l.income = value;
            if (field == 6) l.expense = value;
            if (field == 7) l.memo.assign(text);
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    return table;
}

// Random bytes drawn mostly from what matters to the reader.
std::string random_csv(std::mt19937& random, std::size_t size, int line_end_weight) {
    static const std::string common = "0123456789,,,,,,abc  -\x82\x4f\x81\x93";
    std::string out;
    std::uniform_int_distribution<int> pick(0, 999);
    for (std::size_t i = 0; i < size; ++i) {
        const int r = pick(random);
        if (r < line_end_weight)
            out += '\r';
        else if (r < line_end_weight + 8)
            out += '\n';
        else if (r == 999 && random() % 8 == 0)
            out += '\x1A';
        else if (r > 990)
            out += static_cast<char>(random() % 256);
        else
            out += common[static_cast<std::size_t>(r) % common.size()];
    }
    return out;
}

TEST(month_file_reader, csv_matches_a_plain_byte_by_byte_reading) {
    struct random_case {
        const char* what;
        int files;
        std::size_t size;
        int line_end_weight; // per thousand bytes
    };
    const random_case cases[] = {
        {"short files, short lines", 300, 400, 60},
        {"lines around 254 bytes", 100, 3000, 4},
        {"files longer than one piece", 3, csv_read_piece_bytes + 50000, 6},
    };
    temp_dir dir;
    const std::string path = dir.file("random.csv");
    std::mt19937 random(20240501);
    for (const auto& c : cases) {
        for (int n = 0; n < c.files; ++n) {
            const std::string content = random_csv(random, c.size, c.line_end_weight);
            write_bytes(path, content);
            shuushi_data table;
            recording_notifier notify;
            ASSERT_TRUE(month_file_reader(path, table, notify));
            const shuushi_data expected = plain_csv_reading(content);
            ASSERT_EQ(table.row_count, expected.row_count) << c.what << ", file " << n;
            ASSERT_EQ(lines_of(table), lines_of(expected)) << c.what << ", file " << n;
        }
    }
}

TEST(month_file_reader, csv_a_line_across_pieces_is_cut_at_254_bytes) {
    constexpr std::size_t piece = csv_read_piece_bytes;
    const std::pair<std::size_t, std::string> cases[] = {{250, "7"}, {251, ""}}; // fillers -> item
    temp_dir dir;
    const std::string path = dir.file("x.csv");
    for (const auto& [fill, item] : cases) {
        // The first line ends 100 bytes before the end of the first piece.
        const std::string first = "1," + std::string(piece - 104, 'x') + "\r\n";
        write_bytes(path, first + "2," + std::string(fill, 'y') + ",7\r\n");
        shuushi_data table;
        recording_notifier notify;
        ASSERT_TRUE(month_file_reader(path, table, notify));
        ASSERT_EQ(table.row_count, 3) << fill;
        EXPECT_EQ(table.lines[2], make_line(2, std::string(20, 'y'), item, 0, 0, 0, "")) << fill;
    }
}

// ---- reading KZN ----

std::string one_record() {
    return encode_kzn(new_month()).substr(16);
}

TEST(month_file_reader, kzn_damaged_and_short_files) {
    struct kzn_case {
        const char* what;
        std::string bytes;
        bool accepted;
        std::int32_t row_count; // when accepted
    };
    const std::string record = one_record();
    const kzn_case cases[] = {
        {"new month", kzn_prefix(2) + record, true, 2},
        {"bytes after the last record are ignored", kzn_prefix(2) + record + "garbage", true, 2},
        {"no lines, right header", kzn_prefix(1), true, 1},
        {"no lines, wrong header", kzn_prefix(1, "not a month"), true, 1},
        {"wrong header with a record", kzn_prefix(2, "kozenic filE") + record, false, 0},
        {"cut in the middle of the only record", kzn_prefix(2) + record.substr(0, 79), false, 0},
        {"cut in the middle of the second record", kzn_prefix(3) + record + record.substr(0, 40), false, 0},
        {"record missing altogether", kzn_prefix(3) + record, false, 0},
        {"empty file", "", false, 0},
        {"15 bytes", kzn_prefix(1).substr(0, 15), false, 0},
        {"row count 0", kzn_prefix(0), false, 0},
        {"row count -1", kzn_prefix(-1), false, 0},
        {"row count 2001", kzn_prefix(2001) + std::string(80 * 2000, '\0'), false, 0},
        {"row count 2^31-1", kzn_prefix(2147483647) + record, false, 0},
        {"row count -2^31", kzn_prefix(-2147483647 - 1) + record, false, 0},
    };
    temp_dir dir;
    const std::string path = dir.file("2024_5.kzn");
    for (const auto& c : cases) {
        write_bytes(path, c.bytes);
        shuushi_data table = new_month();
        recording_notifier notify;
        const bool result = month_file_reader(path, table, notify);
        EXPECT_EQ(result, c.accepted) << c.what;
        EXPECT_GE(table.row_count, 1) << c.what;
        EXPECT_LE(table.row_count, 2000) << c.what;
        if (c.accepted) {
            EXPECT_EQ(table.row_count, c.row_count) << c.what;
            EXPECT_TRUE(notify.told.empty()) << c.what;
        } else {
            ASSERT_EQ(notify.told.size(), 1u) << c.what;
            EXPECT_EQ(notify.told[0].first, message_kind::error);
            EXPECT_EQ(notify.told[0].second, std::string(texts::damaged_file) + path) << c.what;
        }
    }
}

TEST(month_file_reader, kzn_length_byte_above_20_counts_as_20) {
    std::string record =
        encode_kzn(table_of({make_line(2, std::string(20, 's'), "item", 1, 2, 3, std::string(20, 'm'))}))
            .substr(16);
    record[1] = '\xff';  // shop length
    record[56] = '\x15'; // memo length 21: one byte past the field would be the reserved area
    record[77] = 'R';
    temp_dir dir;
    const std::string path = dir.file("2024_5.kzn");
    write_bytes(path, kzn_prefix(2) + record);
    shuushi_data table;
    recording_notifier notify;
    ASSERT_TRUE(month_file_reader(path, table, notify));
    EXPECT_EQ(table.lines[1], make_line(2, std::string(20, 's'), "item", 1, 2, 3, std::string(20, 'm')));
}

TEST(month_file_reader, kzn_ignores_bytes_past_each_text) {
    // Earlier saves may leave bytes of longer texts behind the stored length.
    std::string record = one_record();
    for (std::size_t at : {2u, 27u, 43u, 57u, 77u, 78u, 79u})
        record[at] = 'L';
    temp_dir dir;
    const std::string path = dir.file("2024_5.kzn");
    write_bytes(path, kzn_prefix(2) + record);
    shuushi_data table;
    recording_notifier notify;
    ASSERT_TRUE(month_file_reader(path, table, notify));
    EXPECT_EQ(table.lines[1], carried_forward_line());
}

TEST(month_file_reader, a_file_that_cannot_be_opened_is_an_io_error) {
    temp_dir dir;
    shuushi_data table;
    recording_notifier notify;
    for (const char* name : {"missing.kzn", "missing.csv"}) {
        try {
            (void)month_file_reader(dir.file(name), table, notify);
            ADD_FAILURE() << name << " was read";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code().value(), ENOENT) << name;
        }
    }
    EXPECT_TRUE(notify.told.empty());
}

TEST(month_file_reader, only_a_regular_file_is_read) {
    temp_dir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.csv").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.kzn"));
    const std::pair<std::string, int> cases[] = {
        {dir.file("pipe.csv"), EINVAL}, // would wait for a writer, then for bytes
        {dir.file("folder.kzn"), EISDIR},
        {"/dev/zero", EINVAL}, // would feed zero bytes without end
    };
    for (const auto& [path, error] : cases) {
        shuushi_data table;
        recording_notifier notify;
        try {
            (void)month_file_reader(path, table, notify);
            ADD_FAILURE() << path << " was read";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code().value(), error) << path;
        }
    }
}

TEST(month_file_reader, a_path_longer_than_253_bytes_is_cut) {
    temp_dir dir;
    const std::string name(253 - dir.path().size() - 4, 'n');
    const std::string path = dir.file(name + ".csv");
    ASSERT_EQ(path.size(), 253u);
    write_bytes(path, ",cut\r\n");
    shuushi_data table;
    recording_notifier notify;
    ASSERT_TRUE(month_file_reader(path + "-and-more.kzn", table, notify));
    EXPECT_EQ(lines_of(table), std::vector<shuushi_line>{shop_line("cut")});
}

// ---- round trips through the writer ----

TEST(month_file_writer, round_trips_in_both_formats) {
    struct trip_case {
        const char* name;
        shuushi_data table;
    };
    const trip_case cases[] = {
        {"2024_5.kzn", new_month()},     {"2024_5.csv", new_month()},     {"full.kzn", full_table(true)},
        {"full.csv", full_table(false)}, {"upper.CSV", full_table(true)}, // an upper-case extension is KZN
        {"nolines.kzn", table_of({})},   {"nolines.csv", table_of({})},
    };
    temp_dir dir;
    for (const auto& c : cases) {
        month_state state;
        state.open_path.assign(dir.file(c.name));
        recording_notifier notify;
        ASSERT_TRUE(month_file_writer(c.table, state, notify)) << c.name;
        const std::string bytes = read_bytes(dir.file(c.name));
        EXPECT_EQ(bytes,
                  format_of_path(c.name) == month_format::csv ? encode_csv(c.table) : encode_kzn(c.table));
        shuushi_data back = new_month();
        ASSERT_TRUE(month_file_reader(dir.file(c.name), back, notify)) << c.name;
        EXPECT_EQ(back.row_count, c.table.row_count) << c.name;
        EXPECT_EQ(lines_of(back), lines_of(c.table)) << c.name;
        EXPECT_TRUE(notify.told.empty()) << c.name;
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"2024_5.csv", "2024_5.kzn", "full.csv", "full.kzn",
                                                     "nolines.csv", "nolines.kzn", "upper.CSV"}));
}

TEST(month_file_writer, csv_loses_a_comma_in_a_text_and_negative_signs) {
    temp_dir dir;
    month_state state;
    state.open_path.assign(dir.file("2024_5.csv"));
    recording_notifier notify;
    ASSERT_TRUE(
        month_file_writer(table_of({make_line(3, "A,B", "item", 4, -500, 6, "memo")}), state, notify));
    shuushi_data back;
    ASSERT_TRUE(month_file_reader(state.open_path.view(), back, notify));
    EXPECT_EQ(lines_of(back), std::vector<shuushi_line>{make_line(3, "A", "B", 0, 4, 500, "6")});
}

TEST(month_file_writer, only_a_kzn_save_clears_changed_flag) {
    const std::pair<const char*, bool> cases[] = {
        {"2024_5.kzn", false}, {"2024_5.CSV", false}, {"2024_5.csv", true}};
    temp_dir dir;
    for (const auto& [name, still_changed] : cases) {
        month_state state;
        state.open_path.assign(dir.file(name));
        state.changed_flag = true;
        recording_notifier notify;
        ASSERT_TRUE(month_file_writer(new_month(), state, notify)) << name;
        EXPECT_EQ(state.changed_flag, still_changed) << name;
        EXPECT_EQ(state.open_path, dir.file(name)); // nothing else of the state moves
    }
}

TEST(month_file_writer, replaces_a_longer_file_completely) {
    temp_dir dir;
    const std::string path = dir.file("2024_5.kzn");
    write_bytes(path, encode_kzn(full_table(true)));
    month_state state;
    state.open_path.assign(path);
    recording_notifier notify;
    ASSERT_TRUE(month_file_writer(new_month(), state, notify));
    EXPECT_EQ(read_bytes(path).size(), 96u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"2024_5.kzn"});
}

} // namespace
} // namespace kozenica
