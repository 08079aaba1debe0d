// What a save keeps of the file it replaces: a protected file is refused, the
// permission bits stay, a symbolic link stays a link. And the temporary files
// a killed save left behind, removed after a day. Every file at the deepest path.
#include "core/atomic_file.h"
#include "core/file_exists.h"
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/settings.h"
#include "core/startup.h"
#include "file_testing.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
        EXPECT_EQ(dir.count(),
                  c.expected == saved && c.before != 0 ? 2 : 1); // and versions/, no temporary file
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
        if (c.real_exists) {
            EXPECT_EQ(mode_of(real), c.mode);
        }
        EXPECT_EQ(temporaries_in(dir.path()) + temporaries_in(dir.file("disk")), 0);
    }
}

// What lies at a path itself: a regular file, a pipe, a device, a folder or nothing.
char kind_at(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return 'n';
    return S_ISREG(st.st_mode) ? 'f' : S_ISFIFO(st.st_mode) ? 'p' : S_ISCHR(st.st_mode) ? 'd' : 'D';
}

// Only a regular file, and through a link only one of the link's own owner (or
// that owner's folder for a new file), is replaced, also by the administrator:
// the rest is refused, left as it is, and the month stays changed.
TEST(replace_file, only_a_regular_file_of_the_links_owner_is_replaced) {
    const bool root = ::geteuid() == 0;
    // clang-format off
    const struct { const char* what; char kind; bool link, others_target, others_link; int expected; } cases[] = {
        {"device", 'd', false, false, false, EPERM},   {"pipe", 'p', false, false, false, EPERM},
        {"link to a device", 'd', true, false, false, EPERM}, {"link to a pipe", 'p', true, false, false, EPERM},
        {"link to a folder", 'D', true, false, false, EISDIR},
        {"link to another user's file", 'f', true, true, false, EACCES},
        {"link into another user's folder", 'n', true, true, false, EACCES},
        {"another user's own link to their file", 'f', true, true, true, saved}};
    // clang-format on
    for (const auto& c : cases)
        for (const std::string name : {"2024_5.kzn", "kozenic.int"}) {
            SCOPED_TRACE(c.what + (" " + name));
            temp_dir dir;
            fs::create_directory(dir.file("place"));
            const std::string real = c.link ? dir.file("place/t") : dir.file(name);
            // Only the administrator makes devices and gives files away.
            if ((c.kind == 'd' && ::mknod(real.c_str(), S_IFCHR | 0600, ::makedev(1, 5)) != 0) ||
                ((c.others_target || c.others_link) && !root))
                continue;
            if (c.kind == 'p') ::mkfifo(real.c_str(), 0600);
            if (c.kind == 'D') fs::create_directory(real);
            if (c.kind == 'f') write_bytes(real, "old");
            if (c.link) fs::create_symlink(real, dir.file(name));
            if (c.others_target)
                ::chown(c.kind == 'n' ? dir.file("place").c_str() : real.c_str(), 65534, 65534);
            if (c.others_link) ::lchown(dir.file(name).c_str(), 65534, 65534);
            const bool settings = name == "kozenic.int";
            month_save month{};
            const int result =
                settings ? error_of([&] { return write_settings_file(dir.file(name), default_settings()); })
                         : (month = save_month(table_of({make_line(7, "x")}), dir.file(name))).result;
            EXPECT_EQ(
                std::tuple(result, kind_at(real), month.changed_flag),
                std::tuple(c.expected, c.expected == saved ? 'f' : c.kind, !settings && c.expected != saved));
            if (c.kind == 'f' && c.expected != saved) {
                EXPECT_EQ(read_bytes(real), "old");
            }
            EXPECT_EQ(temporaries_in(dir.path()) + temporaries_in(dir.file("place")), 0);
        }
}

TEST(replace_file, a_loop_of_links_is_refused) {
    temp_dir dir;
    fs::create_symlink("b", dir.file("a"));
    fs::create_symlink("a", dir.file("b"));
    EXPECT_EQ(error_of([&] { return replace_file(dir.file("a"), "x"); }), ELOOP);
    EXPECT_TRUE(is_link(dir.file("a")) && is_link(dir.file("b")));
}

// Also where the program's month and settings links lead, and there only
// the user's own files.
// Japanese folder names nested as deep as a path may reach (4095 bytes with the save's temporary
// name): the lists, each month and the settings all keep their path.
TEST(deep_folders, every_file_works_where_the_path_is_as_long_as_the_system_takes) {
    temp_dir top;
    std::string dir = top.path();
    const std::string folder = repeat("\xe5\xae\xb6", 84); // 家 84 times: 252 bytes
    while (dir.size() + folder.size() + 1 + 28 < 4096)
        dir += folder + '/';
    dir += std::string(4096 - 28 - 1 - dir.size(), 'x') + '/'; // room left for ".kozenica-save-xxxxxxxx.tmp"
    ASSERT_TRUE(fs::create_directories(dir) && dir.size() + 27 == 4095);
    write_bytes(dir + "kindlist.dat", "1\r\nfood\r\n");
    EXPECT_EQ(std::pair(read_startup_files(dir).kind_list_missing, read_startup_files(dir).kinds),
              std::pair(false, kind_list({entry(1, "food")})));
    for (const int month : {1, 12}) {
        const std::string path = month_path(dir, 2024, std::uint16_t(month), 0);
        EXPECT_EQ(save_month(table_of({make_line(month, "shop")}), path).result, saved);
        EXPECT_TRUE(file_exists(path) && path.ends_with("/2024_" + std::to_string(month) + ".kzn"));
        EXPECT_EQ(lines_of(read_month(path, read_bytes(path)).table), std::vector{make_line(month, "shop")});
    }
    window_settings wide = default_settings();
    wide[setting::main_width] = 1200;
    ASSERT_EQ(write_settings_file(dir + "kozenic.int", wide), save_result::saved);
    EXPECT_EQ(read_startup_files(dir).settings, wide);
}

TEST(remove_stale_temporaries, only_the_saves_own_files_older_than_a_day) {
    temp_dir dir;
    const std::time_t now = std::time(nullptr), day = 24 * 60 * 60;
    fs::create_directory(dir.file("disk")), fs::create_directory(dir.file("notes"));
    fs::create_symlink(dir.file("disk/2024_6.kzn"), dir.file("2024_6.kzn"));
    fs::create_symlink("notes/list.txt", dir.file("list.txt"));
    // name, age in seconds, kept
    // clang-format off
    const struct { const char* name; std::time_t age; bool kept; } cases[] = {
        {".kozenica-save-abcd1234.tmp", day + 60, false}, {".kozenica-save-0000zzzz.tmp", 30 * day, false},
        {".kozenica-save-abcd1234x.tmp", 30 * day, true}, {".kozenica-save-abcd123.tmp", 30 * day, true},
        {".kozenica-save-ABCD1234.tmp", 30 * day, true},  {".kozenica-save-abcd1234.tmp~", 30 * day, true},
        {"kozenica-save-abcd1234.tmp", 30 * day, true},   {".kozenica-save-abcd5678.tmp", day - 60, true},
        {"2024_5.kzn", 30 * day, true},                   {"kozenic.int", 30 * day, true},
        {".kozenica-save-folder00.tmp", 30 * day, true},  {".kozenica-save-linklink.tmp", 30 * day, true},
        {"disk/.kozenica-save-abcd1234.tmp", 2 * day, false}, {"disk/.kozenica-save-other000.tmp", 2 * day, true},
        {"disk/.kozenica-save-abcd5678.tmp", day - 60, true}, {"notes/.kozenica-save-abcd1234.tmp", 2 * day, true}};
    // clang-format on
    const bool root = ::geteuid() == 0;
    const auto others = [](std::string_view name) { return name.find("other") != std::string_view::npos; };
    for (const auto& c : cases) {
        if (others(c.name) && !root) continue; // only the administrator gives a file away
        const std::string path = dir.file(c.name);
        if (std::string_view(c.name).find("folder") != std::string_view::npos)
            fs::create_directory(path);
        else if (std::string_view(c.name).find("linklink") != std::string_view::npos)
            fs::create_symlink(dir.file("2024_5.kzn"), path);
        else
            write_bytes(path, "x");
        if (others(c.name)) ::chown(path.c_str(), 65534, 65534);
        const utimbuf times{now - c.age, now - c.age};
        ::utime(path.c_str(), &times);
    }
    EXPECT_EQ(remove_stale_save_temporaries(dir.path(), now), 3);
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(fs::symlink_status(dir.file(c.name))), c.kept && (root || !others(c.name)))
            << c.name;
    EXPECT_EQ(remove_stale_temporaries(dir.file("not-there/"), now), 0);
}

} // namespace
} // namespace kozenica
