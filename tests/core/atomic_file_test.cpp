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

enum class step { open, write, fsync, close, rename };
enum class mode { fail, nothing, after }; // nothing: a write stores 0 bytes; after: the call after the rename

// The real system calls, logged, where the nth call (from 1; 0: none) of the
// step fails. Writes store at most 1000 bytes, so that a month takes many.
struct faulty_io : file_io {
    faulty_io(step s = step::open, long n = 0, int e = 0, mode m = mode::fail)
        : at(s), nth(n), error(e), how(m) {}
    int open(const char* path, int flags, mode_t m) override {
        return hit(step::open) ? refuse() : file_io::open(path, flags, m);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        if (!hit(step::write)) return file_io::write(fd, data, std::min<std::size_t>(size, 1000));
        return how == mode::nothing ? 0 : refuse();
    }
    int fsync(int fd) override { return hit(step::fsync) ? refuse() : file_io::fsync(fd); }
    int close(int f) override { return hit(step::close) ? (file_io::close(f), refuse()) : file_io::close(f); }
    int rename(const char* a, const char* b) override {
        return hit(step::rename) ? refuse() : file_io::rename(a, b);
    }
    bool hit(step s) { return log.push_back(s), at == s && std::count(log.begin(), log.end(), s) == nth; }
    int refuse() const { return errno = error, -1; }
    step at;
    long nth;
    int error;
    mode how;
    std::vector<step> log;
};

constexpr int saved = 0, disk_full = -1;

// Saves over the path with changed_flag set, as the save commands do.
void expect_save(const shuushi_data& table, const std::string& path, file_io& io, int expected) {
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
              std::tuple(expected, expected != saved, expected == disk_full ? full : decltype(full){}));
}

// Every call of the step up to the rename fails in turn: the old file stays
// byte for byte, no temporary file is left, the month stays changed. Only an
// interrupted write is retried and saves. After the rename (the directory
// sync) the new content stays, and a failure is still reported.
TEST(replace_file, every_failure_keeps_the_old_or_the_whole_new_file) {
    // clang-format off
    const struct { bool csv; step at; int error; mode how; int expected; } cases[] = {
        {false, step::write, EIO, mode::fail, EIO},          {false, step::write, ENOSPC, mode::fail, disk_full},
        {false, step::write, EDQUOT, mode::fail, disk_full}, {false, step::write, 0, mode::nothing, disk_full},
        {false, step::write, EINTR, mode::fail, saved},      {true, step::write, ENOSPC, mode::fail, ENOSPC},
        {false, step::fsync, EIO, mode::fail, EIO},          {false, step::fsync, ENOSPC, mode::fail, disk_full},
        {true, step::close, EIO, mode::fail, EIO},           {false, step::rename, EXDEV, mode::fail, EXDEV},
        {false, step::open, EACCES, mode::fail, EACCES},     {false, step::open, ENOSPC, mode::fail, disk_full},
        {false, step::open, EIO, mode::after, EIO},          {false, step::fsync, EINVAL, mode::after, saved},
        {false, step::close, EIO, mode::after, EIO}};
    // clang-format on
    const shuushi_data table = full_table(false);
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string name = c.csv ? "2024_5.csv" : "2024_5.kzn", path = dir.file(name);
        const std::string content = c.csv ? encode_csv(table) : encode_kzn(table);
        faulty_io clean;
        (void)replace_file(dir.file("trial"), content, clean);
        const auto rename = std::find(clean.log.begin(), clean.log.end(), step::rename) + 1;
        const long calls = std::count(clean.log.begin(), rename, c.at), after = c.how == mode::after;
        EXPECT_GE(calls, c.at == step::write ? 100 : 1) << name; // a full month takes many writes
        for (long n = after ? calls + 1 : 1; n <= calls + after; ++n) {
            SCOPED_TRACE(name + " call " + std::to_string(n) + " errno " + std::to_string(c.error));
            const std::string old = "old " + std::to_string(n);
            faulty_io io(c.at, n, c.error, c.how);
            expect_save(table, write_bytes(path, old), io, c.expected);
            EXPECT_EQ(read_bytes(path), c.expected == saved || after ? content : old);
            EXPECT_EQ(dir.count(), 2); // the file and "trial"
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

} // namespace
} // namespace kozenica
