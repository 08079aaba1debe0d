#include "core/file_exists.h"
#include "core/startup.h"
#include "file_testing.h"
#include "sjis_testing.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_dir;
using testing::write_bytes;

window_settings defaults() {
    window_settings s;
    set_initial_data(s);
    return s;
}

window_settings wide() {
    window_settings s = defaults();
    s[setting::main_width] = 1024;
    s[setting::main_height] = -3; // used as read
    return s;
}

list_entry entry(std::int32_t number, std::string_view name) {
    return list_entry{number, line_text(name)};
}

// One file of the program's directory: its bytes, and whether it may be
// written. nullopt: the file is not there.
struct dir_file {
    std::optional<std::string> bytes;
    bool read_only = false;
};

void place(const temp_dir& dir, const char* name, const dir_file& f) {
    if (!f.bytes) return;
    const std::string path = dir.file(name);
    write_bytes(path, *f.bytes);
    if (f.read_only)
        std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
}

TEST(read_startup_files, settings_and_both_lists) {
    const std::string kinds = "5\r\nE\r\n2\r\nB1\r\n2\r\nB2\r\n1\r\nA\r\n";
    const std::string corresp = sjis("3\r\n牛乳\r\n1\r\nパン\r\n");
    const kind_list sorted = {entry(1, "A"), entry(2, "B1"), entry(2, "B2"), entry(5, "E")};
    const corresp_list in_file_order = {entry(3, sjis("牛乳")), entry(1, sjis("パン"))};
    struct startup_case {
        const char* what;
        dir_file settings, kindlist, corresplist;
        window_settings expected_settings;
        kind_list expected_kinds;
        bool kind_list_missing;
        corresp_list expected_corresp;
    };
    const startup_case cases[] = {
        {"first run: no files", {}, {}, {}, defaults(), {}, true, {}},
        {"all three files",
         {encode_settings(wide())},
         {kinds},
         {corresp},
         wide(),
         sorted,
         false,
         in_file_order},
        {"read-only settings file gives the defaults",
         {encode_settings(wide()), true},
         {kinds},
         {corresp},
         defaults(),
         sorted,
         false,
         in_file_order},
        {"short settings file",
         {encode_settings(wide()).substr(0, 87)},
         {kinds},
         {},
         defaults(),
         sorted,
         false,
         {}},
        {"read-only kind list counts as missing",
         {},
         {kinds, true},
         {corresp},
         defaults(),
         {},
         true,
         in_file_order},
        {"correspondence list missing, silently", {}, {kinds}, {}, defaults(), sorted, false, {}},
        {"read-only correspondence list", {}, {kinds}, {corresp, true}, defaults(), sorted, false, {}},
        {"empty kind list is there, not missing", {}, {""}, {}, defaults(), {}, false, {}},
    };
    for (const auto& c : cases) {
        temp_dir dir;
        place(dir, "kozenic.int", c.settings);
        place(dir, "kindlist.dat", c.kindlist);
        place(dir, "corresp.dat", c.corresplist);
        const startup_files files = read_startup_files(dir.path());
        EXPECT_EQ(files.settings, c.expected_settings) << c.what;
        EXPECT_EQ(files.kinds, c.expected_kinds) << c.what;
        EXPECT_EQ(files.kind_list_missing, c.kind_list_missing) << c.what;
        EXPECT_EQ(files.corresp, c.expected_corresp) << c.what;
    }
}

TEST(read_startup_files, a_directory_in_place_of_a_file_is_missing) {
    temp_dir dir;
    for (const char* name : {"kozenic.int", "kindlist.dat", "corresp.dat"})
        std::filesystem::create_directory(dir.file(name));
    const startup_files files = read_startup_files(dir.path());
    EXPECT_EQ(files.settings, defaults());
    EXPECT_TRUE(files.kind_list_missing);
    EXPECT_TRUE(files.kinds.empty());
    EXPECT_TRUE(files.corresp.empty());
}

TEST(read_settings_file, a_pipe_in_its_place_gives_the_defaults_at_once) {
    temp_dir dir;
    ASSERT_EQ(::mkfifo(dir.file("kozenic.int").c_str(), 0600), 0);
    EXPECT_FALSE(file_exists(dir.file("kozenic.int")));
    EXPECT_EQ(read_settings_file(dir.file("kozenic.int")), defaults());
    EXPECT_TRUE(read_list_file(dir.file("kozenic.int")).empty());
}

TEST(file_exists, only_a_file_that_may_be_read_and_written) {
    temp_dir dir;
    write_bytes(dir.file("plain"), "x");
    place(dir, "read-only", {std::string("x"), true});
    std::filesystem::create_directory(dir.file("folder"));
    const std::string long_name(253 - dir.path().size(), 'n');
    write_bytes(dir.file(long_name), "x");
    const std::pair<std::string, bool> cases[] = {
        {dir.file("plain"), true},
        {dir.file("missing"), false},
        {dir.file("read-only"), false},
        {dir.file("folder"), false},
        {dir.file("plain/below"), false},
        {"", false},
        // Paths are cut to 253 bytes before use.
        {dir.file(long_name), true},
        {dir.file(long_name) + "-more", true},
        {dir.file(long_name.substr(1)), false},
    };
    for (const auto& [path, exists] : cases)
        EXPECT_EQ(file_exists(path), exists) << path;
}

} // namespace
} // namespace kozenica
