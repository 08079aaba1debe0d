#include "core/digits.h"
#include "core/file_exists.h"
#include "core/lists.h"
#include "core/month_walk.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/texts.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

void place(const std::string& path, const std::optional<std::string>& bytes, bool read_only = false) {
    if (bytes) write_bytes(path, *bytes);
    if (bytes && read_only) std::filesystem::permissions(path, std::filesystem::perms(0444));
}

TEST(settings_file, twenty_two_little_endian_integers_replaced_whole_or_kept) {
    window_settings s = default_settings();
    s[0] = -2, s[21] = 0x01020304;
    const std::string d = encode_settings(default_settings());
    EXPECT_EQ(encode_settings(s), hex_bytes("feffffff 50000000") + d.substr(8, 76) + hex_bytes("04030201"));
    EXPECT_EQ(d.substr(40, 8), hex_bytes("7b020000 c2010000")); // 635, 450
    struct : file_io {
        int rename(const char*, const char*) override { return errno = EIO, -1; }
    } failing;
    struct : file_io {
        ssize_t write(int, const void*, std::size_t) override { return 0; }
    } short_write;
    temp_dir dir;
    const std::string path = write_bytes(dir.file("kozenic.int"), std::string(200, 'x'));
    ASSERT_EQ(write_settings_file(path, s), save_result::saved);
    EXPECT_THROW((void)write_settings_file(path, default_settings(), failing), std::system_error);
    EXPECT_EQ(write_settings_file(path, default_settings(), short_write), save_result::disk_full);
    EXPECT_EQ(std::pair(read_bytes(path), dir.count()), std::pair(encode_settings(s), 1L));
}

// The kind list is sorted by number, keeping file order among equal numbers.
TEST(read_startup_files, settings_and_both_lists) {
    window_settings wide = default_settings(), defaults = default_settings();
    wide[setting::main_width] = 1024, wide[setting::main_height] = -3; // used as read
    const std::string kinds = "5\r\nE\r\n2\r\nB1\r\n-9\r\nZ\r\n2\r\nB2\r\n1\r\nA\r\n",
                      corresp = sjis("3\r\n牛乳\r\n1\r\nパン\r\n");
    const kind_list sorted = {entry(-9, "Z"), entry(1, "A"), entry(2, "B1"), entry(2, "B2"), entry(5, "E")};
    const corresp_list file_order = {entry(3, sjis("牛乳")), entry(1, sjis("パン"))};
    using file = std::optional<std::string>; // nullopt: not there
    // clang-format off
    const struct { file settings, kinds, corresp; bool read_only; startup_files expected; } cases[] = {
        {{}, {}, {}, false, {defaults, {}, {}, true, {}}}, // first run: no files
        {encode_settings(wide), kinds, corresp, false, {wide, sorted, file_order, false, {}}},
        {encode_settings(wide).substr(0, 87), kinds, {}, false, {defaults, sorted, {}, false, {}}},
        {encode_settings(wide), kinds, corresp, true, {wide, sorted, file_order, false, {}}}, // read-only: read
        {{}, "", {}, false, {defaults, {}, {}, false, {}}}}; // an empty kind list is there
    // clang-format on
    for (const auto& c : cases) {
        temp_dir dir;
        place(dir.file("kozenic.int"), c.settings, c.read_only);
        place(dir.file("kindlist.dat"), c.kinds, c.read_only);
        place(dir.file("corresp.dat"), c.corresp, c.read_only);
        const startup_files f = read_startup_files(dir.path()), &e = c.expected;
        EXPECT_EQ(std::tie(f.settings, f.kinds, f.corresp, f.kind_list_missing),
                  std::tie(e.settings, e.kinds, e.corresp, e.kind_list_missing));
    }
}

// Reading is all a file needs to exist: a month the user made read-only opens. The walk's
// one-open read and its count of the months without a file agree with the test of each.
TEST(file_exists, only_a_regular_file_that_may_be_read) {
    temp_dir dir;
    const std::string long_name(253 - dir.path().size(), 'n'); // paths are used whole, however long
    place(dir.file("plain"), "x"), place(dir.file(long_name), "x"), place(dir.file("read-only"), "x", true);
    place(dir.file("unreadable"), "x");
    std::filesystem::permissions(dir.file("unreadable"), std::filesystem::perms::owner_write);
    std::filesystem::create_directory(dir.file("folder"));
    std::filesystem::create_symlink(dir.file("read-only"), dir.file("link"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    // clang-format off
    const std::pair<std::string, bool> cases[] = {{"plain", true}, {long_name, true}, {"read-only", true},
        {"link", true}, {"missing", false}, {"folder", false}, {"plain/below", false}, {long_name + "-more", false},
        {long_name.substr(1), false}, {"pipe", false}, {"PLAIN", false},
        {"unreadable", ::geteuid() == 0}}; // the administrator may read any file
    // clang-format on
    std::vector<std::string> paths;
    long without_file = 0;
    for (const auto& [name, exists] : cases) {
        const std::string& path = paths.emplace_back(dir.file(name));
        without_file += !exists;
        shuushi_data table;
        table.row_count = 7;
        recording_notifier n;
        const std::optional<bool> read = month_file_reader_if_present(path, table, n);
        // one byte is a damaged month; a file not there leaves the table alone
        EXPECT_EQ(std::tuple(file_exists(path), read.has_value(), read.value_or(false),
                             read || table.row_count == 7),
                  std::tuple(exists, exists, false, true))
            << name;
    }
    EXPECT_FALSE(file_exists(""));
    EXPECT_EQ(system_month_source().count_missing(dir.path(), paths), without_file);
}

// Crafted, damaged and oversized files fed to every reader: month as KZN and
// as CSV, list and settings. None may crash or read outside its buffers (the
// ASan build runs this too); each gives its defined outcome.
TEST(hostile_files, every_reader_survives_and_gives_the_defined_outcome) {
    const std::string one = encode_kzn(new_month()).substr(16);
    std::string lengths_255 = one, ten_mb = "7,s,i,3,100,200,m" + std::string(10 << 20, 'x'),
                settings(1000, 0);
    lengths_255[1] = lengths_255[22] = lengths_255[56] = '\xff';
    for (std::size_t i = 0; i < settings.size(); ++i)
        settings[i] = char(i * 7 + 1); // byte 111 is an LF, 148 a CR, 223 0x1A
    // kzn_rows 0: damaged, the message and false; CSV always succeeds
    // clang-format off
    const struct { const char* name; std::string bytes; int kzn_rows, csv_rows; std::size_t list_entries; } cases[] = {
        {"empty file", "", 0, 1, 0}, {"15 bytes", kzn_prefix(2).substr(0, 15), 0, 2, 1},
        {"row count 0", kzn_prefix(0) + one, 0, 2, 1}, {"row count 1, no records", kzn_prefix(1), 1, 2, 1},
        {"wrong header", kzn_prefix(1, "not a month!"), 1, 2, 1}, {"after the last", kzn_prefix(2) + one + "x", 2, 2, 1},
        {"row count 2001", kzn_prefix(2001) + repeat(one, 2000), 0, 2, 1}, {"2^31-1", kzn_prefix(2147483647) + one, 0, 2, 1},
        {"row count 2000", kzn_prefix(2000) + repeat(one, 1999), 2000, 2, 1}, {"record 2 missing", kzn_prefix(3) + one, 0, 2, 1},
        {"cut in record 1", kzn_prefix(2) + one.substr(0, 79), 0, 2, 1}, {"length bytes 255", kzn_prefix(2) + lengths_255, 2, 2, 1},
        {"wrong header with a record", kzn_prefix(2, "kozenic FILE") + one, 0, 2, 1}, {"10 MB single-line CSV", ten_mb, 0, 2, 1},
        {"100 NUL bytes", std::string(100, '\0'), 0, 2, 1}, {"0x1A first", "\x1A,a,b,0,0,0,\r\n2\r\nx\r\n", 0, 1, 0},
        {"0x1A in a line", "1,ab\x1A,cd,0,0,0,\r\n2\r\nx\r\n", 0, 2, 1}, {"lone lead byte", "1\r\n\x82", 0, 3, 1},
        {"100,000 lines", repeat("1\r\nname\r\n", 50000), 0, 2000, 99}, {"2500 CSV lines", repeat("1,a,b,0,0,0,\r\n", 2500), 0, 2000, 99},
        {"settings of 87 bytes", settings.substr(0, 87), 0, 2, 1}, {"settings of 88 bytes", settings.substr(0, 88), 0, 2, 1},
        {"settings of 1000 bytes", settings, 0, 4, 2}}; // its CR and LF bytes end CSV and list lines
    // clang-format on
    const temp_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const month_read k = read_month(dir.file("2024_5.kzn"), c.bytes, new_month());
        EXPECT_EQ(k.ok ? k.table.row_count : 0, c.kzn_rows);
        EXPECT_TRUE(k.table.row_count >= 1 && k.table.row_count <= max_rows) << k.table.row_count;
        const std::pair damaged{message_kind::error, texts::damaged_file + dir.file("2024_5.kzn")};
        EXPECT_EQ(k.told, c.kzn_rows > 0 ? decltype(k.told){} : decltype(k.told){damaged});
        const month_read v = read_month(dir.file("2024_5.csv"), c.bytes); // nothing past the table is touched
        EXPECT_TRUE(v.ok && v.told.empty() && v.table.lines[max_rows] == shuushi_line{});
        EXPECT_EQ(v.table.row_count, c.csv_rows);
        for (const shuushi_line& l : lines_of(v.table))
            EXPECT_TRUE(l.day >= 0 && l.day <= 31);
        EXPECT_EQ(read_list_file(write_bytes(dir.file("kindlist.dat"), c.bytes)).entries.size(),
                  c.list_entries);
        const auto s = encode_settings(read_settings_file(write_bytes(dir.file("kozenic.int"), c.bytes)));
        EXPECT_EQ(s, c.bytes.size() < 88 ? encode_settings(default_settings()) : c.bytes.substr(0, 88));
    }
}

// The same thing stands in place of every file the program reads; a reader that
// waited on a pipe or read a device without end would hang the suite.
TEST(hostile_files, missing_files_pipes_folders_and_devices_are_refused_without_waiting) {
    // clang-format off
    for (const auto& [kind, error] : {std::pair{std::string("missing"), ENOENT}, {"pipe", EINVAL}, {"folder", EISDIR},
                                      {"/dev/zero", EINVAL}, {"/dev/urandom", EINVAL}}) {
        // clang-format on
        const temp_dir dir;
        for (const char* name : {"kozenic.int", "kindlist.dat", "corresp.dat", "2024_5.kzn", "2024_5.csv"}) {
            if (kind == "pipe") ::mkfifo(dir.file(name).c_str(), 0600);
            if (kind == "folder") std::filesystem::create_directory(dir.file(name));
            if (kind[0] == '/') std::filesystem::create_symlink(kind, dir.file(name));
        }
        const startup_files f = read_startup_files(dir.path());
        EXPECT_TRUE(f.settings == default_settings() && f.kinds.empty() && f.corresp.empty() &&
                    f.kind_list_missing);
        for (const char* name : {"2024_5.kzn", "2024_5.csv"}) {
            EXPECT_FALSE(file_exists(dir.file(name))) << kind; // callers test it; the reader refuses too
            EXPECT_EQ(other_than_a_file_at(dir.file(name)), kind != "missing") << kind;
            shuushi_data t;
            recording_notifier notify;
            EXPECT_EQ(error_of([&] { return month_file_reader(dir.file(name), t, notify); }), error) << kind;
            EXPECT_TRUE(t.row_count >= 1 && t.row_count <= max_rows) << kind;
        }
    }
}

} // namespace
} // namespace kozenica
