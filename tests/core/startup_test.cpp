#include "core/file_exists.h"
#include "core/settings.h"
#include "core/startup.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <optional>
#include <system_error>

namespace kozenica {
namespace {

using namespace testing;

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
    temp_dir dir;
    const std::string path = write_bytes(dir.file("kozenic.int"), std::string(200, 'x'));
    ASSERT_EQ(write_settings_file(path, s), save_result::saved);
    EXPECT_THROW((void)write_settings_file(path, default_settings(), failing), std::system_error);
    EXPECT_EQ(read_bytes(path), encode_settings(s));
    EXPECT_EQ(dir.count(), 1);
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
        {{}, {}, {}, false, {defaults, {}, {}, true}}, // first run: no files
        {encode_settings(wide), kinds, corresp, false, {wide, sorted, file_order, false}},
        {encode_settings(wide).substr(0, 87), kinds, {}, false, {defaults, sorted, {}, false}},
        {encode_settings(wide), kinds, corresp, true, {defaults, {}, {}, true}},
        {{}, "", {}, false, {defaults, {}, {}, false}}}; // an empty kind list is there
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

TEST(file_exists, only_a_file_that_may_be_read_and_written) {
    temp_dir dir;
    const std::string long_name(253 - dir.path().size(), 'n'); // paths are cut to 253 bytes first
    place(dir.file("plain"), "x"), place(dir.file(long_name), "x"), place(dir.file("read-only"), "x", true);
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_TRUE(file_exists(dir.file("plain")) && file_exists(dir.file(long_name) + "-more"));
    for (const std::string& path : {dir.file("missing"), dir.file("read-only"), dir.file("folder"),
                                    dir.file("plain/below"), std::string(), dir.file(long_name.substr(1))})
        EXPECT_FALSE(file_exists(path)) << path;
}

} // namespace
} // namespace kozenica
