// Crafted, damaged and oversized files fed to every reader: month as KZN and
// as CSV, list and settings. None may crash or read outside its buffers (the
// ASan build runs this too); each gives its defined outcome.

#include "core/file_exists.h"
#include "core/startup.h"
#include "core/texts.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <system_error>

namespace kozenica {
namespace {

using namespace testing;

TEST(hostile_files, every_reader_survives_and_gives_the_defined_outcome) {
    const std::string one = encode_kzn(new_month()).substr(16);
    std::string lengths_255 = one, ten_mb = "7,s,i,3,100,200,m" + std::string(10 << 20, 'x'),
                settings(1000, 0);
    lengths_255[1] = lengths_255[22] = lengths_255[56] = '\xff';
    for (std::size_t i = 0; i < settings.size(); ++i)
        settings[i] = char(i * 7 + 1); // byte 148 is a CR, byte 223 is 0x1A
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
        {"settings of 1000 bytes", settings, 0, 3, 1}};
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
        EXPECT_EQ(read_list_file(write_bytes(dir.file("kindlist.dat"), c.bytes)).size(), c.list_entries);
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
            EXPECT_FALSE(file_exists(dir.file(name)))
                << kind; // callers test it; the reader refuses on its own too
            shuushi_data t;
            recording_notifier notify;
            try {
                ADD_FAILURE() << kind << " read: " << month_file_reader(dir.file(name), t, notify);
            } catch (const std::system_error& e) {
                EXPECT_EQ(e.code().value(), error) << kind;
                EXPECT_TRUE(t.row_count >= 1 && t.row_count <= max_rows) << kind;
            }
        }
    }
}

} // namespace
} // namespace kozenica
