#include "core/file_exists.h"
#include "core/startup.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace kozenica {
namespace {

using namespace testing;

void place(const std::string& path, const std::optional<std::string>& bytes, bool read_only = false) {
    if (bytes) write_bytes(path, *bytes);
    if (bytes && read_only) std::filesystem::permissions(path, std::filesystem::perms(0444));
}

TEST(read_startup_files, settings_and_both_lists) {
    window_settings wide = default_settings(), defaults = default_settings();
    wide[setting::main_width] = 1024;
    wide[setting::main_height] = -3; // used as read
    const std::string kinds = "5\r\nE\r\n2\r\nB1\r\n2\r\nB2\r\n1\r\nA\r\n",
                      corresp = sjis("3\r\n牛乳\r\n1\r\nパン\r\n");
    const kind_list sorted = {entry(1, "A"), entry(2, "B1"), entry(2, "B2"), entry(5, "E")};
    const corresp_list file_order = {entry(3, sjis("牛乳")), entry(1, sjis("パン"))};
    using file = std::optional<std::string>; // nullopt: not there
    // clang-format off
    const struct { const char* what; file settings, kinds, corresp; bool read_only; startup_files expected; } cases[] = {
        {"first run: no files", {}, {}, {}, false, {defaults, {}, {}, true}},
        {"all three files", encode_settings(wide), kinds, corresp, false, {wide, sorted, file_order, false}},
        {"short settings", encode_settings(wide).substr(0, 87), kinds, {}, false, {defaults, sorted, {}, false}},
        {"read-only files", encode_settings(wide), kinds, corresp, true, {defaults, {}, {}, true}},
        {"empty kind list is there", {}, "", {}, false, {defaults, {}, {}, false}}};
    // clang-format on
    for (const auto& c : cases) {
        temp_dir dir;
        place(dir.file("kozenic.int"), c.settings, c.read_only);
        place(dir.file("kindlist.dat"), c.kinds, c.read_only);
        place(dir.file("corresp.dat"), c.corresp, c.read_only);
        const startup_files f = read_startup_files(dir.path()), &e = c.expected;
        EXPECT_EQ(std::tie(f.settings, f.kinds, f.corresp, f.kind_list_missing),
                  std::tie(e.settings, e.kinds, e.corresp, e.kind_list_missing))
            << c.what;
    }
}

TEST(file_exists, only_a_file_that_may_be_read_and_written) {
    temp_dir dir;
    const std::string long_name(253 - dir.path().size(), 'n'); // paths are cut to 253 bytes first
    for (const std::string& name : {std::string("plain"), long_name, std::string("read-only")})
        place(dir.file(name), "x", name == "read-only");
    std::filesystem::create_directory(dir.file("folder"));
    for (const std::string& path : {dir.file("plain"), dir.file(long_name) + "-more"})
        EXPECT_TRUE(file_exists(path)) << path;
    for (const std::string& path : {dir.file("missing"), dir.file("read-only"), dir.file("folder"),
                                    dir.file("plain/below"), std::string(), dir.file(long_name.substr(1))})
        EXPECT_FALSE(file_exists(path)) << path;
}

} // namespace
} // namespace kozenica
