#include "core/settings.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <system_error>

namespace kozenica {
namespace {

using namespace testing;

TEST(settings_file, twenty_two_little_endian_integers_replaced_whole_or_kept) {
    window_settings s = default_settings();
    s[0] = -2;
    s[21] = 0x01020304;
    EXPECT_EQ(encode_settings(s), hex_bytes("feffffff 50000000") +
                                      encode_settings(default_settings()).substr(8, 76) +
                                      hex_bytes("04030201"));
    EXPECT_EQ(encode_settings(s).substr(40, 8), hex_bytes("7b020000 c2010000")); // 635, 450
    class failing_rename : public file_io {
        int rename(const char*, const char*) override { return errno = EIO, -1; }
    } failing;
    temp_dir dir;
    EXPECT_EQ(read_settings_file(dir.file("kozenic.int")), default_settings()); // no file yet
    const std::string path = write_bytes(dir.file("kozenic.int"), std::string(200, 'x'));
    ASSERT_EQ(write_settings_file(path, s), save_result::saved);
    EXPECT_EQ(read_bytes(path), encode_settings(s));
    EXPECT_THROW((void)write_settings_file(path, default_settings(), failing), std::system_error);
    EXPECT_EQ(read_settings_file(path), s);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"});
}

} // namespace
} // namespace kozenica
