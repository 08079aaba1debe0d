// What a save keeps of the file it replaces: a protected file is refused, the
// permission bits stay, a symbolic link stays a link. And the temporary files
// a killed save left behind, removed after a day.
#include "core/atomic_file.h"
#include "core/month_file.h"
#include "file_testing.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <system_error>
#include <tuple>
#include <unistd.h>
#include <utime.h>

namespace kozenica {
namespace {

using namespace testing;
namespace fs = std::filesystem;

mode_t mode_of(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}
bool is_link(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}
long temporaries_in(const std::string& dir) {
    long n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        n += is_save_temporary_name(e.path().filename().string());
    return n;
}

// Run as the administrator too: a file its owner may not write is refused
// although the system would let the save through.
TEST(replace_file, a_protected_month_is_refused_and_a_replaced_one_keeps_its_bits) {
    const mode_t fresh = [] {
        const mode_t mask = ::umask(0);
        return ::umask(mask), 0666 & ~mask;
    }();
    // clang-format off
    const struct { mode_t before; int expected; mode_t after; } cases[] = {
        {0444, EACCES, 0444}, {0400, EACCES, 0400}, {0044, EACCES, 0044}, {0555, EACCES, 0555},
        {0600, saved, 0600},  {0640, saved, 0640},  {0664, saved, 0664},  {0200, saved, 0200},
        {0, saved, fresh}}; // 0: no file yet
    // clang-format on
    const shuushi_data month = table_of({make_line(5, "shop", "item", 1, 0, 300)});
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string path = dir.file("2030_1.kzn"), old(176, 'o');
        if (c.before != 0) fs::permissions(write_bytes(path, old), fs::perms(c.before));
        const month_save s = save_month(month, path);
        SCOPED_TRACE(c.before);
        EXPECT_EQ(std::pair(s.result, s.changed_flag), std::pair(c.expected, c.expected != saved));
        EXPECT_EQ(mode_of(path), c.after);
        if (c.before != 0) fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(read_bytes(path), c.expected == saved ? encode_kzn(month) : old);
        EXPECT_EQ(dir.count(), 1); // no temporary file left
    }
}

// Months kept on another disk: 2024_5.kzn in the program's folder is a link
// (absolute or relative, perhaps through another link) to the real file.
TEST(replace_file, a_linked_month_replaces_the_file_it_names_and_stays_a_link) {
    const shuushi_data month = table_of({make_line(7, "linked")});
    // clang-format off
    const struct { const char* what; const char* link_to; bool absolute, second_link, real_exists; mode_t mode; int expected; } cases[] = {
        {"absolute", "disk/2024_5.kzn", true, false, true, 0600, saved},
        {"relative", "disk/2024_5.kzn", false, false, true, 0640, saved},
        {"through a second link", "disk/2024_5.kzn", false, true, true, 0600, saved},
        {"to a file not there yet", "disk/2024_5.kzn", false, false, false, 0, saved},
        {"to a read-only file", "disk/2024_5.kzn", true, false, true, 0444, EACCES}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir dir;
        fs::create_directory(dir.file("disk"));
        const std::string real = dir.file(c.link_to), link = dir.file("2024_5.kzn");
        if (c.real_exists) fs::permissions(write_bytes(real, "old"), fs::perms(c.mode));
        const std::string target = c.absolute ? real : c.link_to;
        if (c.second_link) {
            fs::create_symlink(target, dir.file("hop"));
            fs::create_symlink("hop", link);
        } else {
            fs::create_symlink(target, link);
        }
        EXPECT_EQ(save_month(month, link).result, c.expected);
        EXPECT_EQ(std::tuple(is_link(link), fs::read_symlink(link).string(), read_bytes(real)),
                  std::tuple(true, c.second_link ? "hop" : target,
                             c.expected == saved ? encode_kzn(month) : "old"));
        if (c.real_exists) EXPECT_EQ(mode_of(real), c.mode);
        EXPECT_EQ(temporaries_in(dir.path()) + temporaries_in(dir.file("disk")), 0);
    }
}

TEST(replace_file, a_loop_of_links_is_refused) {
    temp_dir dir;
    fs::create_symlink("b", dir.file("a"));
    fs::create_symlink("a", dir.file("b"));
    EXPECT_EQ(error_of([&] { return replace_file(dir.file("a"), "x"); }), ELOOP);
    EXPECT_TRUE(is_link(dir.file("a")) && is_link(dir.file("b")));
}

TEST(remove_stale_temporaries, only_the_saves_own_files_older_than_a_day) {
    temp_dir dir;
    const std::time_t now = std::time(nullptr), day = 24 * 60 * 60;
    // name, age in seconds, kept
    // clang-format off
    const struct { const char* name; std::time_t age; bool kept; } cases[] = {
        {".kozenica-save-abcd1234.tmp", day + 60, false}, {".kozenica-save-0000zzzz.tmp", 30 * day, false},
        {".kozenica-save-abcd1234x.tmp", 30 * day, true}, {".kozenica-save-abcd123.tmp", 30 * day, true},
        {".kozenica-save-ABCD1234.tmp", 30 * day, true},  {".kozenica-save-abcd1234.tmp~", 30 * day, true},
        {"kozenica-save-abcd1234.tmp", 30 * day, true},   {".kozenica-save-abcd5678.tmp", day - 60, true},
        {"2024_5.kzn", 30 * day, true},                   {"kozenic.int", 30 * day, true},
        {".kozenica-save-folder00.tmp", 30 * day, true},  {".kozenica-save-linklink.tmp", 30 * day, true}};
    // clang-format on
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        if (std::string_view(c.name).find("folder") != std::string_view::npos)
            fs::create_directory(path);
        else if (std::string_view(c.name).find("linklink") != std::string_view::npos)
            fs::create_symlink(dir.file("2024_5.kzn"), path);
        else
            write_bytes(path, "x");
        const utimbuf times{now - c.age, now - c.age};
        ::utime(path.c_str(), &times);
    }
    EXPECT_EQ(remove_stale_temporaries(dir.path(), now), 2);
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(fs::symlink_status(dir.file(c.name))), c.kept) << c.name;
    EXPECT_EQ(remove_stale_temporaries(dir.file("not-there/"), now), 0);
}

} // namespace
} // namespace kozenica
