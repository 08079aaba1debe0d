// Crafted, damaged and oversized files, each one fed to every reader of the
// program: the month file reader as KZN and as CSV, the list file reader and
// the settings reader. None may crash or read outside its buffers (the ASan
// build runs this too); each gives the outcome the program defines.

#include "core/file_exists.h"
#include "core/lists.h"
#include "core/month_file.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/texts.h"
#include "sjis_testing.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kozenica {
namespace {

using testing::hex_bytes;
using testing::sjis;

// ---- building the files ----

std::string le32(std::int32_t v) {
    std::string out(4, '\0');
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out[std::size_t(i)] = static_cast<char>((u >> (8 * i)) & 0xFFu);
    return out;
}

std::string text_field(std::string_view bytes, int length_byte = -1) {
    std::string out(1, static_cast<char>(length_byte < 0 ? int(bytes.size()) : length_byte));
    out += bytes.substr(0, 20);
    out.resize(21, '\0');
    return out;
}

// One 80-byte record; the length bytes may be set apart from the texts.
std::string record(std::int8_t day, std::string_view shop, std::string_view item, std::int32_t expense,
                   std::string_view memo = "", int length_byte = -1) {
    std::string r(1, static_cast<char>(day));
    r += text_field(shop, length_byte) + text_field(item, length_byte) + '\0';
    r += le32(0) + le32(0) + le32(expense) + text_field(memo, length_byte) + std::string(3, '\0');
    return r;
}

std::string kzn(std::int32_t rows, const std::string& records = "",
                std::string_view header = "kozenic file") {
    return std::string(header) + le32(rows) + records;
}

std::string repeat(std::string_view s, int n) {
    std::string out;
    out.reserve(s.size() * std::size_t(n));
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string settings_bytes(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(static_cast<char>(i * 7 + 1));
    return out;
}

// ---- running the readers ----

class recording_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        told.push_back({kind, std::string(text)});
    }
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
    std::vector<std::pair<message_kind, std::string>> told;
};

class scratch_dir {
  public:
    scratch_dir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kozenica-hostile-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern + "/";
    }
    ~scratch_dir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string write(std::string_view name, const std::string& content) const {
        const std::string path = dir_ + std::string(name);
        std::ofstream(path, std::ios::binary).write(content.data(), std::streamsize(content.size()));
        return path;
    }

  private:
    std::string dir_;
};

struct month_outcome {
    bool ok;
    shuushi_data table;
    std::vector<std::pair<message_kind, std::string>> told;
    std::string path;
};

month_outcome read_month(const scratch_dir& dir, std::string_view name, const std::string& content) {
    month_outcome out{false, {}, {}, dir.write(name, content)};
    recording_notifier notify;
    out.ok = month_file_reader(out.path, out.table, notify);
    out.told = notify.told;
    return out;
}

// What every reader must hold to, whatever the file.
void expect_sound_table(const month_outcome& m, const std::string& label) {
    EXPECT_GE(m.table.row_count, 1) << label;
    EXPECT_LE(m.table.row_count, max_rows) << label;
    for (int r = 1; r < std::min(m.table.row_count, max_rows); ++r) {
        const shuushi_line& l = m.table.lines[std::size_t(r)];
        EXPECT_LE(l.shop.size(), text_bytes) << label;
        EXPECT_LE(l.item.size(), text_bytes) << label;
        EXPECT_LE(l.memo.size(), text_bytes) << label;
    }
}

// ---- the table of hostile files ----

struct hostile_case {
    const char* name;
    std::string bytes;
    bool kzn_ok;  // false: the damaged-file message and false
    int kzn_rows; // row count after a good KZN read
    int csv_rows; // row count read as CSV (CSV always succeeds)
    std::size_t list_entries;
    bool settings_defaults; // shorter than 88 bytes
};

std::vector<hostile_case> hostile_cases() {
    const std::string one = record(1, "", sjis("繰越"), 0);
    const std::string full_month = kzn(2000, repeat(record(3, "shop", "item", 100), 1999));
    std::string ten_mb = "7,s,i,3,100,200,m";
    ten_mb.append(10 * 1024 * 1024, 'x');
    const std::string list_100k = repeat("1\r\nname\r\n", 50000);
    return {
        {"empty file", "", false, 0, 1, 0, true},
        {"15 bytes", kzn(2).substr(0, 15), false, 0, 2, 1, true},
        {"header only, 12 bytes", "kozenic file", false, 0, 2, 1, true},
        {"row count -1", kzn(-1, one), false, 0, 2, 1, false},
        {"row count 0", kzn(0, one), false, 0, 2, 1, false},
        {"row count 1, no records", kzn(1), true, 1, 2, 1, true},
        {"row count 1, wrong header", kzn(1, "", "not a month!"), true, 1, 2, 1, true},
        {"row count 2, one record", kzn(2, one), true, 2, 2, 1, false},
        {"row count 2001", kzn(2001, one), false, 0, 2, 1, false},
        {"row count 2^31-1", kzn(2147483647, one), false, 0, 2, 1, false},
        {"row count -2^31", kzn(-2147483647 - 1, one), false, 0, 2, 1, false},
        {"row count 2000, 1999 records", full_month, true, 2000, 2, 1, false},
        {"cut inside the second record", kzn(3, one + one).substr(0, 16 + 80 + 40), false, 0, 2, 1, false},
        {"cut inside the first record", kzn(2, one).substr(0, 16 + 79), false, 0, 2, 1, false},
        {"wrong header with a record", kzn(2, one, "kozenic FILE"), false, 0, 2, 1, false},
        {"length bytes 255", kzn(2, record(1, repeat("S", 20), repeat("I", 20), 5, repeat("M", 20), 255)),
         true, 2, 2, 1, false},
        {"10 MB single-line CSV", ten_mb, false, 0, 2, 1, false},
        {"100 NUL bytes", std::string(100, '\0'), false, 0, 2, 1, false},
        {"0x1A at the start",
         "\x1a"
         "1,a,b,0,0,0,\r\n2\r\nx\r\n",
         false, 0, 1, 0, true},
        {"0x1A in the middle of a line",
         "1,ab\x1a"
         "cd,0,0,0,\r\n2\r\nx\r\n",
         false, 0, 2, 1, true},
        {"0x1A at the end of a line", "1,a,b,0,0,0,m\x1a\r\n2,c\r\n", false, 0, 2, 1, true},
        {"lone lead byte at the end", "1\r\n\x82", false, 0, 3, 1, true},
        {"list file of 100,000 lines", list_100k, false, 0, 2000, 99, false},
        {"2500 CSV lines", repeat("1,a,b,0,0,0,\r\n", 2500), false, 0, 2000, 99, false},
        {"LF line ends", repeat("1,a,b,0,0,0,\n", 30), false, 0, 2, 1, false},
        {"settings file of 87 bytes", settings_bytes(87), false, 0, 2, 1, true},
        {"settings file of 88 bytes", settings_bytes(88), false, 0, 2, 1, false},
        // Byte 148 of this pattern is a CR and byte 223 is 0x1A.
        {"settings file of 1000 bytes", settings_bytes(1000), false, 0, 3, 1, false},
    };
}

TEST(hostile_files, every_reader_survives_and_gives_the_defined_outcome) {
    const scratch_dir dir;
    window_settings defaults;
    set_initial_data(defaults);
    for (const hostile_case& c : hostile_cases()) {
        SCOPED_TRACE(c.name);

        const month_outcome k = read_month(dir, "2024_5.kzn", c.bytes);
        expect_sound_table(k, "kzn");
        EXPECT_EQ(k.ok, c.kzn_ok);
        if (c.kzn_ok) {
            EXPECT_EQ(k.table.row_count, c.kzn_rows);
            EXPECT_TRUE(k.told.empty());
        } else {
            ASSERT_EQ(k.told.size(), 1u);
            EXPECT_EQ(k.told[0].first, message_kind::error);
            EXPECT_EQ(k.told[0].second, std::string(texts::damaged_file) + k.path);
        }

        const month_outcome v = read_month(dir, "2024_5.csv", c.bytes);
        expect_sound_table(v, "csv");
        EXPECT_TRUE(v.ok);
        EXPECT_TRUE(v.told.empty());
        EXPECT_EQ(v.table.row_count, c.csv_rows);
        for (int r = 1; r < v.table.row_count; ++r) {
            EXPECT_GE(v.table.lines[std::size_t(r)].day, 0);
            EXPECT_LE(v.table.lines[std::size_t(r)].day, 31);
        }

        const std::vector<list_entry> list = read_list_file(dir.write("kindlist.dat", c.bytes));
        EXPECT_EQ(list.size(), c.list_entries);

        const window_settings s = read_settings_file(dir.write("kozenic.int", c.bytes));
        if (c.settings_defaults) {
            EXPECT_EQ(s, defaults);
        } else {
            EXPECT_EQ(encode_settings(s), c.bytes.substr(0, settings_file_bytes));
        }
    }
}

// ---- what the readers make of the details ----

TEST(hostile_files, length_bytes_above_20_count_as_20) {
    const scratch_dir dir;
    const std::string rec =
        record(9, "abcdefghijklmnopqrst", "ABCDEFGHIJKLMNOPQRST", 77, "01234567890123456789");
    for (const int length : {21, 100, 255}) {
        std::string r = rec;
        r[1] = r[22] = r[56] = static_cast<char>(length);
        const month_outcome m = read_month(dir, "x.kzn", kzn(2, r));
        ASSERT_TRUE(m.ok) << length;
        const shuushi_line& l = m.table.lines[1];
        EXPECT_EQ(l.shop, "abcdefghijklmnopqrst") << length;
        EXPECT_EQ(l.item, "ABCDEFGHIJKLMNOPQRST") << length;
        EXPECT_EQ(l.memo, "01234567890123456789") << length;
        EXPECT_EQ(l.expense, 77) << length;
    }
}

struct csv_line_case {
    const char* name;
    std::string content;
    int rows;
    std::int8_t day;
    std::string shop, item, memo;
    std::int32_t expense;
};

TEST(hostile_files, csv_lines_are_cut_split_and_ended_as_defined) {
    const scratch_dir dir;
    const std::string long_shop = repeat("s", 240);
    const csv_line_case cases[] = {
        // The memo starts at byte 251: its first 3 bytes are inside the 254.
        {"memo across byte 254", "1," + long_shop + ",i,0,0,9,mmmmmmmm\r\n", 2, 1, repeat("s", 20), "i",
         "mmm", 9},
        // The line is cut after the kind's comma: income and later are empty.
        {"fields past byte 254", "1," + long_shop + "xxxxxxx,i,0,0,9,m\r\n", 2, 1, repeat("s", 20), "i", "",
         0},
        {"10 MB line keeps its first 20 memo bytes", "7,s,i,3,100,200,m" + std::string(10 * 1024 * 1024, 'x'),
         2, 7, "s", "i", "m" + repeat("x", 19), 200},
        {"NUL bytes inside a field", std::string("1,a\0b,c,0,0,5,\r\n", 16), 2, 1, std::string("a\0b", 3),
         "c", "", 5},
        {"0x1A ends the file inside a field",
         "1,ab\x1a"
         "cd,0,0,0,\r\n2,x\r\n",
         2, 1, "ab", "", "", 0},
        {"0x1A ends the file after the memo", "1,a,b,0,0,4,m\x1a\r\n2,c\r\n", 2, 1, "a", "b", "m", 4},
        {"lone lead byte ends a field", "1,\x82,\x82\r\n", 2, 1, "\x82", "\x82", "", 0},
        {"lone lead byte at the end of the file", "1,a,b,0,0,0,\x82", 2, 1, "a", "b", "\x82", 0},
        {"LF after CR LF starts the next line", "1,a\r\n\n2,b\r\n", 3, 1, "a", "", "", 0},
        {"day 200 becomes 0", "200,a\r\n", 2, 0, "a", "", "", 0},
        {"full-width day", sjis("１２,a"), 2, 12, "a", "", "", 0},
        {"text after the seventh comma is dropped", "1,a,b,0,0,3,m,extra,more\r\n", 2, 1, "a", "b", "m", 3},
        {"a double-byte character cut at byte 20", sjis("1,") + repeat("a", 19) + sjis("あ") + ",b\r\n", 2, 1,
         repeat("a", 19) + "\x82", "b", "", 0},
    };
    for (const csv_line_case& c : cases) {
        SCOPED_TRACE(c.name);
        const month_outcome m = read_month(dir, "x.csv", c.content);
        ASSERT_TRUE(m.ok);
        ASSERT_EQ(m.table.row_count, c.rows);
        const shuushi_line& l = m.table.lines[1];
        EXPECT_EQ(l.day, c.day);
        EXPECT_EQ(l.shop, c.shop);
        EXPECT_EQ(l.item, c.item);
        EXPECT_EQ(l.memo, c.memo);
        EXPECT_EQ(l.expense, c.expense);
    }
}

TEST(hostile_files, a_failed_kzn_read_leaves_a_row_count_the_table_can_hold) {
    // Whatever the row count in the file, the table the caller gets back never
    // claims more lines than its slots, nor fewer than none.
    const scratch_dir dir;
    for (const std::int32_t rows : {-2147483647 - 1, -1, 0, 2001, 65536, 2147483647}) {
        const month_outcome m = read_month(dir, "x.kzn", kzn(rows, repeat(record(1, "a", "b", 1), 3)));
        EXPECT_FALSE(m.ok) << rows;
        EXPECT_GE(m.table.row_count, 1) << rows;
        EXPECT_LE(m.table.row_count, max_rows) << rows;
    }
}

TEST(hostile_files, list_files_stop_at_99_entries_and_at_0x1a) {
    const scratch_dir dir;
    struct list_case {
        const char* name;
        std::string content;
        std::size_t entries;
        std::optional<std::string> last_name;
    };
    const list_case cases[] = {
        {"100,000 lines", repeat("1\r\nname\r\n", 50000), 99, "name"},
        {"100,000 lines without CR", repeat("1\nname\n", 50000), 1, std::nullopt},
        {"0x1A in a name",
         "1\r\nab\x1a"
         "cd\r\n2\r\nx\r\n",
         1, "ab"},
        {"number line at the end", "1\r\na\r\n2", 2, ""},
        {"name of 30 bytes", "1\r\n" + repeat("n", 30) + "\r\n", 1, repeat("n", 20)},
        {"lone lead byte ends the file", "1\r\n\x82", 1, "\x82"},
        {"NUL bytes in a name", std::string("1\r\na\0b\r\n", 8), 1, std::string("a\0b", 3)},
        {"one line of 1 MB", std::string(1024 * 1024, '7'), 1, ""},
    };
    for (const list_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<list_entry> list = read_list_file(dir.write("corresp.dat", c.content));
        ASSERT_EQ(list.size(), c.entries);
        if (c.last_name) {
            EXPECT_EQ(list.back().name, *c.last_name);
        }
    }
}

TEST(hostile_files, settings_files_shorter_than_88_bytes_give_the_defaults) {
    const scratch_dir dir;
    window_settings defaults;
    set_initial_data(defaults);
    struct settings_case {
        std::size_t size;
        bool defaults;
    };
    for (const settings_case c : {settings_case{0, true},
                                  {1, true},
                                  {87, true},
                                  {88, false},
                                  {89, false},
                                  {1000, false},
                                  {1 << 20, false}}) {
        const std::string bytes = settings_bytes(c.size);
        const window_settings s = read_settings_file(dir.write("kozenic.int", bytes));
        if (c.defaults) {
            EXPECT_EQ(s, defaults) << c.size;
        } else {
            EXPECT_EQ(encode_settings(s), bytes.substr(0, 88)) << c.size;
        }
    }
    // The file's values are used as read, negative and huge ones too.
    const std::string odd = le32(-1) + le32(2147483647) + std::string(80, '\xff');
    const window_settings s = read_settings_file(dir.write("kozenic.int", odd));
    EXPECT_EQ(s[0], -1);
    EXPECT_EQ(s[1], 2147483647);
    EXPECT_EQ(s[21], -1);
}

// Runs the check in a child process and gives it a few seconds: a reader that
// waits on a pipe or reads a device without end fails the test instead of
// hanging the suite. The child's exit status is the check's result.
bool finishes_in_time(const std::function<bool()>& check, int seconds = 10) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(check() ? 0 : 1);
    for (int tenths = 0; tenths < seconds * 10; ++tenths) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        ::usleep(100000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return false;
}

TEST(hostile_files, pipes_folders_and_devices_are_refused_without_waiting) {
    window_settings defaults;
    set_initial_data(defaults);
    for (const std::string& kind : {std::string("pipe"), std::string("folder"), std::string("/dev/zero"),
                                    std::string("/dev/urandom")}) {
        SCOPED_TRACE(kind);
        const scratch_dir dir;
        const std::string program_dir = dir.write("unused", "");
        std::filesystem::remove(program_dir);
        std::filesystem::create_directory(program_dir);
        // The same thing stands in place of every file the program reads.
        const auto place = [&](const std::string& name) {
            const std::string path = program_dir + "/" + name;
            if (kind == "pipe")
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            else if (kind == "folder")
                std::filesystem::create_directory(path);
            else
                std::filesystem::create_symlink(kind, path);
        };
        for (const char* name : {"kozenic.int", "kindlist.dat", "corresp.dat", "2024_5.kzn", "2024_5.csv"})
            place(name);

        EXPECT_TRUE(finishes_in_time([&] {
            const startup_files files = read_startup_files(program_dir + "/");
            return files.settings == defaults && files.kinds.empty() && files.corresp.empty() &&
                   files.kind_list_missing;
        }));
        for (const char* name : {"2024_5.kzn", "2024_5.csv"}) {
            EXPECT_TRUE(finishes_in_time([&] {
                if (file_exists(program_dir + "/" + name)) return false;
                // Callers test file_exists first; the reader refuses on its own too.
                shuushi_data table;
                recording_notifier notify;
                try {
                    (void)month_file_reader(program_dir + "/" + name, table, notify);
                    return false;
                } catch (const std::system_error&) {
                    return table.row_count >= 1 && table.row_count <= max_rows;
                }
            })) << name;
        }
    }
}

TEST(hostile_files, hex_built_kzn_header_is_what_the_reader_expects) {
    // A new month as the writer makes it, spelled out in bytes, reads back.
    const scratch_dir dir;
    const std::string bytes =
        hex_bytes("6b 6f 7a 65 6e 69 63 20 66 69 6c 65  02 00 00 00") + record(1, "", "x", 0);
    const month_outcome m = read_month(dir, "x.kzn", bytes);
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.table.row_count, 2);
    EXPECT_EQ(m.table.lines[1].item, "x");
}

} // namespace
} // namespace kozenica
