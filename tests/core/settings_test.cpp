#include "core/settings.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>

namespace kozenica {
namespace {

using testing::hex_bytes;
using testing::read_bytes;
using testing::temp_dir;
using testing::write_bytes;

window_settings defaults() {
    window_settings s;
    set_initial_data(s);
    return s;
}

// 22 distinct values, some negative, as a file would hold them.
window_settings sample() {
    window_settings s;
    for (int i = 0; i < settings_count; ++i)
        s[i] = (i % 3 == 0 ? -1 : 1) * (i * 1000003 + 7);
    return s;
}

TEST(set_initial_data, the_default_sizes) {
    const std::array<std::int32_t, settings_count> expected = {
        10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 40, 80, 160, 300, 40, 70, 50, 50, 400, 400};
    EXPECT_EQ(defaults().values, expected);
}

TEST(encode_settings, twenty_two_little_endian_integers) {
    window_settings s = defaults();
    s[0] = -2;
    s[21] = 0x01020304;
    const std::string bytes = encode_settings(s);
    ASSERT_EQ(bytes.size(), 88u);
    EXPECT_EQ(bytes.substr(0, 8), hex_bytes("feffffff 50000000"));
    EXPECT_EQ(bytes.substr(40, 8), hex_bytes("7b020000 c2010000")); // 635, 450
    EXPECT_EQ(bytes.substr(84), hex_bytes("04030201"));
}

TEST(read_settings_file, whole_blocks_only) {
    const std::string block = encode_settings(sample());
    struct file_case {
        const char* what;
        std::optional<std::string> bytes; // nullopt: no file
        window_settings expected;
    };
    const file_case cases[] = {
        {"missing", std::nullopt, defaults()},
        {"empty", std::string(), defaults()},
        {"87 bytes: defaults for all, the first 21 too", block.substr(0, 87), defaults()},
        {"88 bytes", block, sample()},
        {"1000 bytes: the first 88 count", block + std::string(912, '\x7f'), sample()},
    };
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string path = dir.file("kozenic.int");
        if (c.bytes) write_bytes(path, *c.bytes);
        EXPECT_EQ(read_settings_file(path), c.expected) << c.what;
    }
}

TEST(write_settings_file, writes_88_bytes_that_read_back) {
    temp_dir dir;
    const std::string path = dir.file("kozenic.int");
    write_bytes(path, std::string(200, 'x')); // a longer file is replaced whole
    ASSERT_EQ(write_settings_file(path, sample()), save_result::saved);
    EXPECT_EQ(read_bytes(path), encode_settings(sample()));
    EXPECT_EQ(read_settings_file(path), sample());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"});
}

TEST(write_settings_file, a_failed_write_keeps_the_old_settings) {
    class failing_io : public file_io {
      public:
        int rename(const char*, const char*) override {
            errno = EIO;
            return -1;
        }
    } io;
    temp_dir dir;
    const std::string path = dir.file("kozenic.int");
    write_bytes(path, encode_settings(defaults()));
    EXPECT_THROW((void)write_settings_file(path, sample(), io), std::system_error);
    EXPECT_EQ(read_settings_file(path), defaults());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"});
}

} // namespace
} // namespace kozenica
