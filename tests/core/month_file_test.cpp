#include "core/atomic_file.h"
#include "core/month_file.h"
#include "core/month_versions.h"
#include "core/texts.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/mount.h>
#include <system_error>

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
        {"empty file", "", {}}, {"LF alone ends a line", ",A\n,B\n,C\n", {make_line(0, "A"), make_line(0, "B"), make_line(0, "C")}},
        {"LF CR is two line ends", ",A\n\r,B", {make_line(0, "A"), make_line(0, ""), make_line(0, "B")}},
        {"CR, CR LF, no end", ",A\r,B\r\n,C", {make_line(0, "A"), make_line(0, "B"), make_line(0, "C")}},
        {"CR LF LF: the second LF ends an empty line", ",A\r\n\n,B", {make_line(0, "A"), make_line(0, ""), make_line(0, "B")}},
        {"empty lines", "\r\n\r\r\n", {make_line(0, ""), make_line(0, ""), make_line(0, "")}},
        {"0x1A ends the file", ",A\r\n,B\x1A,C\r\n,D\r\n", {make_line(0, "A"), make_line(0, "B")}},
        {"days", "12\r\n" + sjis("１２") + "\r\n" + sjis("12日") + "\r\n3/5\r\n200\r\n31\r\n32\r\n-5\r\n", {make_line(12, ""),
         make_line(12, ""), make_line(12, ""), make_line(0, ""), make_line(0, ""), make_line(31, ""), make_line(0, ""), make_line(5, "")}},
        {"amounts keep digits", ",,,7" + sjis("種") + ",-300," + sjis("¥1200円") + "\r\n", {make_line(0, "", "", 7, 300, 1200)}},
        {"a comma shifts later fields, the 8th is ignored", "1,A,B,X,5,6,7,memo\r\n", {make_line(1, "A", "B", 0, 5, 6, "7")}},
        {"254 bytes are read whole", "1," + x250 + ",7\r\n,B", {make_line(1, x20, "7"), make_line(0, "B")}},
        {"the 255th byte is lost", "1,x" + x250 + ",7\r\n,B", {make_line(1, x20), make_line(0, "B")}},
        {"CR last in a piece, LF first in the next", piece_line + "\r\n,B", {piece_first, make_line(0, "B")}},
        {"LF last in a piece", piece_line + "\n\n,B", {piece_first, make_line(0, ""), make_line(0, "B")}},
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

// A month takes lines 1 to 1999; the reader says whether the file goes on
// with a further line, which a save over the file would drop.
TEST(month_file_reader, csv_tells_when_lines_are_left_out) {
    std::string lines;
    for (int i = 1; i <= max_lines; ++i)
        lines += std::to_string(i % 31) + ",s,i,0,0,1,\r\n";
    const std::string with_lf = repeat("1,s\n", max_lines);
    // 1998 short lines and a long 1999th that ends with the CR as the last byte of a piece.
    std::string at_piece = repeat("1\r\n", max_lines - 1);
    at_piece += "2," + std::string(csv_read_piece_bytes - at_piece.size() - 3, 'x') + "\r";
    ASSERT_EQ(at_piece.size(), csv_read_piece_bytes);
    // clang-format off
    const std::pair<std::string, bool> cases[] = {
        {lines, false}, {lines + "\r\n", true}, {lines + "1,more\r\n", true}, {lines + "\x1A" "1,more\r\n", false},
        {lines.substr(0, lines.size() - 2), false}, {lines.substr(0, lines.size() - 2) + "\n", false},
        {with_lf, false}, {with_lf + "x", true}, {lines + "\n", true},
        {at_piece, false}, {at_piece + "\n", false}, {at_piece + "\n\x1A", false}, {at_piece + "\nx", true},
        {at_piece + "x", true}, {at_piece + "\n\n", true}, {"1,a\r\n2,b\x1A", false}};
    // clang-format on
    temp_dir dir;
    for (const auto& [content, left_out] : cases) {
        shuushi_data table;
        recording_notifier notify;
        month_read_info info;
        info.lines_left_out = !left_out;
        ASSERT_TRUE(month_file_reader(write_bytes(dir.file("2024_5.csv"), content), table, notify, info));
        EXPECT_EQ(info.lines_left_out, left_out) << content.size() << " bytes ending " << content.back();
        EXPECT_EQ(table.row_count, content.size() > 100 ? max_rows : 3);
    }
    recording_notifier notify;
    month_read_info info{true};
    shuushi_data table;
    EXPECT_TRUE(
        month_file_reader(write_bytes(dir.file("2024_5.kzn"), encode_kzn(new_month())), table, notify, info));
    EXPECT_FALSE(info.lines_left_out);
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
}

enum class step { open, write, fsync, close, rename, readlink, lstat, access, fchmod, read, mkdir, link };
enum class mode { fail, nothing, after }; // nothing: a write stores 0 bytes; after: the call after the rename

// The real system calls, logged, where the nth call (from 1; 0: none) of the
// step fails. Writes store at most 1000 bytes, so that a month takes many.
struct faulty_io : file_io {
    faulty_io(step s = step::open, long n = 0, int e = 0, mode m = mode::fail)
        : at(s), nth(n), error(e), how(m) {}
    // clang-format off
    int open(const char* p, int flags, mode_t m) override { return hit(step::open) ? refuse() : file_io::open(p, flags, m); }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (!hit(step::write)) return file_io::write(fd, data, std::min<std::size_t>(size, 1000));
        return how == mode::nothing ? 0 : refuse();
    }
    int fsync(int fd) override { return hit(step::fsync) ? refuse() : file_io::fsync(fd); }
    int close(int f) override { return hit(step::close) ? (file_io::close(f), refuse()) : file_io::close(f); }
    int rename(const char* a, const char* b) override { return hit(step::rename) ? refuse() : file_io::rename(a, b); }
    ssize_t readlink(const char* p, char* b, std::size_t n) override { return hit(step::readlink) ? refuse() : file_io::readlink(p, b, n); }
    int lstat(const char* p, struct stat* st) override { return hit(step::lstat) ? refuse() : file_io::lstat(p, st); }
    int access(const char* p, int m) override { return hit(step::access) ? refuse() : file_io::access(p, m); }
    int fchmod(int fd, mode_t m) override { return hit(step::fchmod) ? refuse() : file_io::fchmod(fd, m); }
    ssize_t read(int fd, void* b, std::size_t n) override { return hit(step::read) ? refuse() : file_io::read(fd, b, n); }
    int mkdir(const char* p, mode_t m) override { return hit(step::mkdir) ? refuse() : file_io::mkdir(p, m); }
    int link(const char* a, const char* b) override { return hit(step::link) ? refuse() : file_io::link(a, b); }
    int fdatasync(int fd) override { return hit(step::fsync) ? refuse() : file_io::fdatasync(fd); }
    // clang-format on
    bool hit(step s) { return log.push_back(s), at == s && std::count(log.begin(), log.end(), s) == nth; }
    int refuse() const { return errno = error, -1; }
    step at;
    long nth;
    int error;
    mode how;
    std::vector<step> log;
};

// A saved KZN file clears changed_flag, a CSV file keeps it.
void expect_save(const shuushi_data& table, const std::string& path, file_io& io, int expected) {
    const decltype(recording_notifier::told) full = {{message_kind::error, texts::disk_full}};
    const month_save s = save_month(table, path, io);
    EXPECT_EQ(std::tie(s.result, s.changed_flag, s.told),
              std::tuple(expected, expected != saved || format_of_path(path) == month_format::csv,
                         expected == disk_full ? full : decltype(full){}));
}

// Every call of the step up to the rename fails in turn: the old file stays
// byte for byte, no temporary file or version is left, the month stays
// changed. Only an interrupted write is retried and saves; the version step
// tells a full disk as an I/O error. After the rename (the directory sync)
// the new content and the version stay, and a failure is still reported.
TEST(replace_file, every_failure_keeps_the_old_or_the_whole_new_file) {
    // clang-format off
    const struct { bool csv; step at; int error; mode how; int expected; } cases[] = {
        {false, step::write, EIO, mode::fail, EIO},          {false, step::write, ENOSPC, mode::fail, disk_full},
        {false, step::write, EDQUOT, mode::fail, disk_full}, {false, step::write, 0, mode::nothing, disk_full},
        {false, step::write, EINTR, mode::fail, saved},      {true, step::write, ENOSPC, mode::fail, ENOSPC},
        {true, step::fsync, EIO, mode::fail, EIO},           {false, step::fsync, ENOSPC, mode::fail, disk_full},
        {true, step::close, EIO, mode::fail, EIO},           {true, step::rename, EXDEV, mode::fail, EXDEV},
        {true, step::open, EACCES, mode::fail, EACCES},      {false, step::open, ENOSPC, mode::fail, disk_full},
        {false, step::open, EIO, mode::after, EIO},          {false, step::fsync, EINVAL, mode::after, saved},
        {false, step::close, EIO, mode::after, EIO},         {false, step::readlink, EIO, mode::fail, EIO},
        {false, step::lstat, EIO, mode::fail, EIO},          {true, step::access, EROFS, mode::fail, EROFS},
        {false, step::fchmod, EPERM, mode::fail, EPERM},     {false, step::read, EIO, mode::fail, EIO},
        {true, step::mkdir, EROFS, mode::fail, EROFS},       {false, step::link, EIO, mode::fail, EIO}};
    // clang-format on
    const shuushi_data table = full_table(false);
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string name = c.csv ? "2024_5.csv" : "2024_5.kzn", path = dir.file(name);
        const std::string content = c.csv ? encode_csv(table) : encode_kzn(table);
        faulty_io clean;
        temp_dir trial; // a CSV month has a second name, so its version is a copy, a KZN month's a link
        if (c.csv)
            std::filesystem::create_hard_link(write_bytes(trial.file(name), "old"), trial.file("other"));
        (void)replace_file(write_bytes(trial.file(name), "old"), content, clean, 0); // replaces a file
        const auto rename = std::find(clean.log.rbegin(), clean.log.rend(), step::rename).base();
        const auto version_step = std::find(clean.log.begin(), clean.log.end(), step::read) - 1; // its open
        const long calls = std::count(clean.log.begin(), rename, c.at), after = c.how == mode::after;
        const long month_calls = std::count(clean.log.begin(), version_step, c.at);
        EXPECT_GE(calls, c.at == step::write ? 100 : 1) << name; // a full month takes many writes
        for (long n = after ? calls + 1 : 1; n <= calls + after; ++n) {
            SCOPED_TRACE(name + " call " + std::to_string(n) + " errno " + std::to_string(c.error));
            const std::string old = "old " + std::to_string(n);
            faulty_io io(c.at, n, c.error, c.how);
            const bool in_version = !after && n > month_calls && c.expected != saved;
            const int expected = in_version ? (c.error ? c.error : ENOSPC) : c.expected;
            if (c.csv) std::filesystem::create_hard_link(write_bytes(path, old), trial.file(old));
            expect_save(table, write_bytes(path, old), io, expected);
            EXPECT_EQ(read_bytes(path), expected == saved || after ? content : old);
            std::error_code none; // the month's versions folder holds the old file, nothing else
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(versions_folder(path), none), {}),
                      expected == saved || after ? 1 : 0);
            std::filesystem::remove_all(dir.file("versions"));
            EXPECT_EQ(dir.count(), 1); // no temporary file
        }
    }
}

// A real full disk: a 64 KiB tmpfs cannot take a full month (160 KB).
TEST(month_file_writer, a_real_full_disk_keeps_the_old_file) {
    temp_dir dir;
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs: " << std::strerror(errno);
    const std::shared_ptr<void> unmount(nullptr, [&](void*) { ::umount2(dir.path().c_str(), MNT_DETACH); });
    for (const auto& [name, expected] : {std::pair{"2024_5.kzn", disk_full}, {"2024_5.csv", ENOSPC}}) {
        expect_save(full_table(false), write_bytes(dir.file(name), "old"), system_file_io(), expected);
        EXPECT_EQ(read_bytes(dir.file(name)), "old") << name;
    }
    EXPECT_EQ(dir.count(), 2);
    expect_save(new_month(), dir.file("2024_5.kzn"), system_file_io(), saved); // a small month fits
}

// Saved over a longer file and read back. Only a lower-case .csv is CSV.
TEST(month_file_writer, round_trips_in_both_formats) {
    // clang-format off
    const struct { const char* name; shuushi_data table; bool csv; } cases[] = {
        {"2024_5.kzn", new_month(), false}, {"2024_5.csv", new_month(), true}, {"full.kzn", full_table(true), false},
        {"full.csv", full_table(false), true}, {"upper.CSV", full_table(true), false}, {"none.csv", table_of({}), true},
        {"x.csv.kzn", table_of({}), false}, {"comma.csv", table_of({make_line(3, "A,B", "item", 4, -500, 6, "memo")}), true}};
    // clang-format on
    temp_dir dir;
    for (const auto& [name, table, csv] : cases) {
        expect_save(table, write_bytes(dir.file(name), std::string(200000, 'x')), system_file_io(), saved);
        EXPECT_EQ(read_bytes(dir.file(name)), csv ? encode_csv(table) : encode_kzn(table)) << name;
        const month_read r = read_month(dir.file(name), read_bytes(dir.file(name)), new_month());
        EXPECT_TRUE(r.ok && r.told.empty()) << name;
        const bool comma = name == std::string_view("comma.csv");
        EXPECT_EQ(lines_of(r.table),
                  comma ? std::vector{make_line(3, "A", "B", 0, 4, 500, "6")} : lines_of(table));
    }
    EXPECT_EQ(dir.count(), long(std::size(cases)) + 1); // and versions/, no temporary file left
}

} // namespace
} // namespace kozenica
