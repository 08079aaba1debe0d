#include "core/atomic_file.h"
#include "core/month_file.h"
#include "core/texts.h"
#include "file_testing.h"

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

enum class step { open, write, fsync, close, rename, unlink };
enum class mode { fail, half, nothing }; // half: stores half, then the disk is full

// The real system calls, logged, where the nth call (from 1; 0: none) of one
// step fails. Writes store at most 1000 bytes, so that a month takes many.
class faulty_io : public file_io {
  public:
    explicit faulty_io(step at = step::open, int nth = 0, int error = 0, mode how = mode::fail)
        : at_(at), nth_(nth), error_(error), how_(how) {}

    int open(const char* path, int flags, mode_t m) override {
        if (hit(step::open)) return refuse();
        if (eexist_left > 0 && (flags & O_CREAT)) return --eexist_left, errno = EEXIST, -1;
        return file_io::open(path, flags, m);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        size = std::min<std::size_t>(size, 1000);
        const bool planned = hit(step::write);
        if (disk_full_) return errno = ENOSPC, -1;
        if (!planned) return file_io::write(fd, data, size);
        if (how_ != mode::half) return how_ == mode::nothing ? 0 : refuse();
        disk_full_ = true;
        return file_io::write(fd, data, size / 2);
    }
    int fsync(int fd) override { return hit(step::fsync) ? refuse() : file_io::fsync(fd); }
    int close(int fd) override {
        return hit(step::close) ? (file_io::close(fd), refuse()) : file_io::close(fd);
    }
    int rename(const char* a, const char* b) override {
        return hit(step::rename) ? refuse() : file_io::rename(a, b);
    }
    int unlink(const char* path) override { return hit(step::unlink) ? refuse() : file_io::unlink(path); }

    [[nodiscard]] long before_rename(step s) const { // the rename included
        const auto rename = std::find(log.begin(), log.end(), step::rename);
        return std::count(log.begin(), rename == log.end() ? rename : rename + 1, s);
    }
    int eexist_left = 0;
    std::vector<step> log;

  private:
    bool hit(step s) {
        log.push_back(s);
        return at_ == s && std::count(log.begin(), log.end(), s) == nth_;
    }
    int refuse() const { return errno = error_, -1; }
    step at_;
    int nth_, error_;
    mode how_;
    bool disk_full_ = false;
};

constexpr int saved = 0, disk_full = -1;

// Saves over the path with changed_flag set, as the save commands do.
void expect_save(const shuushi_data& table, const std::string& path, file_io& io, int expected,
                 bool changed_after, const std::string& where) {
    month_state state;
    state.open_path.assign(path);
    state.changed_flag = true;
    recording_notifier notify;
    int result = saved; // or disk_full, or the errno thrown
    try {
        if (!month_file_writer(table, state, notify, io)) result = disk_full;
    } catch (const std::system_error& e) {
        result = e.code().value();
    }
    const decltype(notify.told) full = {{message_kind::error, texts::disk_full}};
    EXPECT_EQ(std::tie(result, state.changed_flag, notify.told),
              std::tie(expected, changed_after, expected == disk_full ? full : decltype(full){}))
        << where;
}

// Every call of the step up to the rename fails in turn: the old file stays
// byte for byte, no temporary file is left, the month stays changed. Only an
// interrupted write is retried and saves.
TEST(replace_file, every_failure_before_the_rename_keeps_the_old_file) {
    // clang-format off
    const struct { bool csv; step at; int error; mode how; int expected; } cases[] = {
        {false, step::write, EIO, mode::fail, EIO},          {false, step::write, ENOSPC, mode::half, disk_full},
        {false, step::write, ENOSPC, mode::fail, disk_full}, {false, step::write, EDQUOT, mode::fail, disk_full},
        {false, step::write, 0, mode::nothing, disk_full},   {false, step::write, EINTR, mode::fail, saved},
        {true, step::write, ENOSPC, mode::half, ENOSPC},     {false, step::fsync, EIO, mode::fail, EIO},
        {false, step::fsync, ENOSPC, mode::fail, disk_full}, {false, step::close, EIO, mode::fail, EIO},
        {true, step::close, EIO, mode::fail, EIO},           {false, step::rename, EXDEV, mode::fail, EXDEV},
        {false, step::open, EACCES, mode::fail, EACCES},     {false, step::open, ENOSPC, mode::fail, disk_full}};
    // clang-format on
    const shuushi_data table = full_table(false);
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string name = c.csv ? "2024_5.csv" : "2024_5.kzn", path = dir.file(name);
        faulty_io clean;
        (void)replace_file(dir.file("trial"), encode_for(path, table), clean);
        const long calls = clean.before_rename(c.at);
        EXPECT_GE(calls, c.at == step::write ? 100 : 1) << name; // a full month takes many writes
        for (int n = 1; n <= calls; ++n) {
            const std::string old = "old content " + std::to_string(n),
                              where = old + name + std::to_string(c.error);
            faulty_io io(c.at, n, c.error, c.how);
            expect_save(table, write_bytes(path, old), io, c.expected, c.expected != saved, where);
            EXPECT_EQ(read_bytes(path), c.expected == saved ? encode_for(path, table) : old) << where;
            EXPECT_EQ(dir.names(), (std::vector<std::string>{name, "trial"})) << where;
        }
    }
}

// After the rename only the directory sync is left: the new content stays,
// and a failure is still reported so that the user can save again.
TEST(replace_file, a_failure_after_the_rename_leaves_the_new_file) {
    // clang-format off
    const std::tuple<step, int, int> cases[] = {
        {step::open, EIO, EIO}, {step::open, EACCES, saved}, {step::fsync, EIO, EIO}, {step::fsync, EINVAL, saved},
        {step::close, EIO, EIO}};
    // clang-format on
    for (const auto& [at, error, expected] : cases) {
        temp_dir dir;
        faulty_io io(at, 2, error);
        expect_save(new_month(), write_bytes(dir.file("2024_5.kzn"), "old"), io, expected, expected != saved,
                    std::to_string(error));
        EXPECT_EQ(io.before_rename(step::rename), 1);
        EXPECT_EQ(read_bytes(dir.file("2024_5.kzn")), encode_kzn(new_month())) << error;
        EXPECT_EQ(dir.names(), std::vector<std::string>{"2024_5.kzn"}) << error;
    }
}

TEST(replace_file, taken_temporary_names_and_a_bare_file_name) {
    temp_dir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path()); // a bare name is saved in the current directory
    faulty_io io;
    io.eexist_left = 5; // five names already taken: the sixth is used
    const save_result r = replace_file("kozenic.int", "new", io);
    io.eexist_left = 1000; // every name taken: give up without removing anyone's file
    EXPECT_THROW((void)replace_file("kozenic.int", "newer", io), std::system_error);
    std::filesystem::current_path(previous);
    EXPECT_EQ(r, save_result::saved);
    EXPECT_EQ(std::count(io.log.begin(), io.log.end(), step::unlink), 0);
    EXPECT_EQ(read_bytes(dir.file("kozenic.int")), "new");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"});
}

// A real full disk: a 64 KiB tmpfs cannot take a full month (160 KB).
TEST(month_file_writer, a_real_full_disk_keeps_the_old_file) {
    temp_dir dir;
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs: " << std::strerror(errno);
    const std::shared_ptr<void> unmount(nullptr, [&](void*) { ::umount2(dir.path().c_str(), MNT_DETACH); });
    for (const auto& [name, expected] : {std::pair{"2024_5.kzn", disk_full}, {"2024_5.csv", ENOSPC}}) {
        const std::string path = write_bytes(dir.file(name), encode_for(dir.file(name), new_month()));
        expect_save(full_table(false), path, system_file_io(), expected, true, name);
        EXPECT_EQ(read_bytes(path), encode_for(path, new_month())) << name;
    }
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"2024_5.csv", "2024_5.kzn"}));
    expect_save(new_month(), dir.file("2024_5.kzn"), system_file_io(), saved, false, "small month fits");
}

} // namespace
} // namespace kozenica
