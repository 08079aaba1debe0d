#include "core/atomic_file.h"
#include "core/month_file.h"
#include "core/texts.h"
#include "file_testing.h"

#include <array>
#include <cerrno>
#include <gtest/gtest.h>
#include <optional>
#include <sys/mount.h>
#include <system_error>
#include <vector>

namespace kozenica {
namespace {

using testing::read_bytes;
using testing::recording_notifier;
using testing::temp_dir;
using testing::write_bytes;

enum class step { open, write, fsync, close, rename, unlink };
constexpr std::size_t step_count = 6;

// The real system calls, counted, with one planned failure. Writes store at
// most 1000 bytes per call, as a slow device may, so that a month takes many
// writes and each of them can be the one that fails.
class faulty_io : public file_io {
  public:
    struct failure {
        step at;
        int nth;           // 1 for the first call of that step
        int error;         // errno of the failure
        bool half = false; // a write that stores half of what it may; the disk is full after it
    };

    explicit faulty_io(std::optional<failure> plan = std::nullopt) : plan_(plan) {}

    int open(const char* path, int flags, mode_t mode) override {
        if (hit(step::open)) return refuse();
        if (eexist_left_ > 0 && (flags & O_CREAT)) {
            --eexist_left_;
            errno = EEXIST;
            return -1;
        }
        return file_io::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        size = std::min<std::size_t>(size, 1000);
        if (disk_full_) {
            ++calls[std::size_t(step::write)];
            errno = ENOSPC;
            return -1;
        }
        if (hit(step::write)) {
            if (!plan_->half) return refuse();
            disk_full_ = true;
            return file_io::write(fd, data, size / 2);
        }
        return file_io::write(fd, data, size);
    }
    int fsync(int fd) override { return hit(step::fsync) ? refuse() : file_io::fsync(fd); }
    int close(int fd) override {
        if (hit(step::close)) {
            (void)file_io::close(fd); // a failing close still releases the descriptor
            return refuse();
        }
        return file_io::close(fd);
    }
    int rename(const char* from, const char* to) override {
        const bool fails = hit(step::rename);
        renamed_at_ = total_;
        return fails ? refuse() : file_io::rename(from, to);
    }
    int unlink(const char* path) override { return hit(step::unlink) ? refuse() : file_io::unlink(path); }

    void answer_eexist(int times) { eexist_left_ = times; }

    std::array<int, step_count> calls{};
    // Position of each call in the whole sequence, per step, and of the rename.
    std::array<std::vector<int>, step_count> order{};
    [[nodiscard]] int renamed_at() const { return renamed_at_; }

  private:
    bool hit(step s) {
        const auto i = std::size_t(s);
        ++calls[i];
        order[i].push_back(++total_);
        return plan_ && plan_->at == s && calls[i] == plan_->nth;
    }
    int refuse() {
        errno = plan_->error;
        return -1;
    }

    std::optional<failure> plan_;
    bool disk_full_ = false;
    int eexist_left_ = 0;
    int total_ = 0;
    int renamed_at_ = -1;
};

shuushi_data full_month() {
    shuushi_data table;
    month_state state;
    init_data(table, state);
    for (int i = 1; i <= max_lines; ++i) {
        auto& line = table.lines[std::size_t(i)];
        line.day = static_cast<std::int8_t>(i % 31 + 1);
        // Texts of the full 20 bytes, so that the CSV form is large too.
        line.shop.assign(("shop " + std::to_string(i)).append(20, '-'));
        line.item.assign(("item " + std::to_string(i)).append(20, '-'));
        line.expense = i * 10;
    }
    table.row_count = max_rows;
    return table;
}

shuushi_data small_month() {
    shuushi_data table;
    month_state state;
    init_data(table, state);
    return table;
}

enum class outcome { saved, disk_full, io_error };

struct save_run {
    outcome result;
    int error = 0;
    bool changed_flag;
    std::vector<std::string> messages;
};

// Saves the table over the path with changed_flag set, the way the save
// commands call the writer, and gathers what came of it.
save_run save(const shuushi_data& table, const std::string& path, file_io& io) {
    month_state state;
    state.open_path.assign(path);
    state.changed_flag = true;
    recording_notifier notify;
    save_run run{outcome::saved, 0, true, {}};
    try {
        run.result = month_file_writer(table, state, notify, io) ? outcome::saved : outcome::disk_full;
    } catch (const std::system_error& e) {
        run.result = outcome::io_error;
        run.error = e.code().value();
    }
    run.changed_flag = state.changed_flag;
    for (const auto& [kind, text] : notify.told) {
        EXPECT_EQ(kind, message_kind::error);
        run.messages.push_back(text);
    }
    return run;
}

struct fault_case {
    const char* what;
    const char* name; // the month file saved
    step at;
    int error;
    bool half;
    outcome expected;
};

// Every call of the step that comes before the rename fails in turn: the
// previous file stays byte for byte, no temporary file is left behind, the
// month stays marked as changed.
TEST(replace_file, every_failure_before_the_rename_keeps_the_old_file) {
    const fault_case cases[] = {
        {"write fails", "2024_5.kzn", step::write, EIO, false, outcome::io_error},
        {"write stores half, then the disk is full", "2024_5.kzn", step::write, 0, true, outcome::disk_full},
        {"write finds the disk full", "2024_5.kzn", step::write, ENOSPC, false, outcome::disk_full},
        {"write exceeds the quota", "2024_5.kzn", step::write, EDQUOT, false, outcome::disk_full},
        {"CSV write finds the disk full", "2024_5.csv", step::write, 0, true, outcome::io_error},
        {"sync fails", "2024_5.kzn", step::fsync, EIO, false, outcome::io_error},
        {"sync finds the disk full", "2024_5.kzn", step::fsync, ENOSPC, false, outcome::disk_full},
        {"close fails", "2024_5.kzn", step::close, EIO, false, outcome::io_error},
        {"close fails on CSV", "2024_5.csv", step::close, EIO, false, outcome::io_error},
        {"rename fails", "2024_5.kzn", step::rename, EXDEV, false, outcome::io_error},
        {"temporary file cannot be made", "2024_5.kzn", step::open, EACCES, false, outcome::io_error},
        {"no room for the temporary file", "2024_5.kzn", step::open, ENOSPC, false, outcome::disk_full},
    };
    const shuushi_data table = full_month();
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string path = dir.file(c.name);
        faulty_io clean;
        (void)replace_file(dir.file("trial"),
                           format_of_path(path) == month_format::csv ? encode_csv(table) : encode_kzn(table),
                           clean);
        const std::vector<int>& positions = clean.order[std::size_t(c.at)];
        int tried = 0;
        for (std::size_t n = 1; n <= positions.size(); ++n) {
            if (positions[n - 1] > clean.renamed_at()) break;
            ++tried;
            const std::string old_bytes = "old content " + std::to_string(n);
            write_bytes(path, old_bytes);
            faulty_io io(faulty_io::failure{c.at, static_cast<int>(n), c.error, c.half});
            const save_run run = save(table, path, io);
            const std::string where = std::string(c.what) + ", call " + std::to_string(n);
            EXPECT_EQ(run.result, c.expected) << where;
            if (c.expected == outcome::io_error) {
                EXPECT_EQ(run.error, c.half ? ENOSPC : c.error) << where;
            }
            EXPECT_EQ(run.messages, c.expected == outcome::disk_full
                                        ? std::vector<std::string>{texts::disk_full}
                                        : std::vector<std::string>{})
                << where;
            EXPECT_TRUE(run.changed_flag) << where;
            EXPECT_EQ(read_bytes(path), old_bytes) << where;
            EXPECT_EQ(dir.names(), (std::vector<std::string>{c.name, "trial"})) << where;
        }
        EXPECT_GT(tried, 0) << c.what;
        if (c.at == step::write) {
            EXPECT_GE(tried, 100) << c.what << ": a full month takes many writes";
        }
    }
}

// After the rename only the directory sync is left: the new content is in
// place whatever happens, and a failure is still reported so that the user
// can save again.
TEST(replace_file, a_failure_after_the_rename_leaves_the_new_file) {
    const fault_case cases[] = {
        {"directory cannot be opened", "2024_5.kzn", step::open, EIO, false, outcome::io_error},
        {"directory may not be read", "2024_5.kzn", step::open, EACCES, false, outcome::saved},
        {"directory sync fails", "2024_5.kzn", step::fsync, EIO, false, outcome::io_error},
        {"directory sync not supported", "2024_5.kzn", step::fsync, EINVAL, false, outcome::saved},
        {"directory close fails", "2024_5.kzn", step::close, EIO, false, outcome::io_error},
    };
    const shuushi_data table = small_month();
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string path = dir.file(c.name);
        write_bytes(path, "old content");
        faulty_io io(faulty_io::failure{c.at, 2, c.error, false});
        const save_run run = save(table, path, io);
        EXPECT_EQ(run.result, c.expected) << c.what;
        EXPECT_EQ(run.changed_flag, c.expected != outcome::saved) << c.what;
        if (c.expected == outcome::io_error) {
            EXPECT_EQ(run.error, c.error) << c.what;
        }
        EXPECT_EQ(read_bytes(path), encode_kzn(table)) << c.what;
        EXPECT_EQ(dir.names(), std::vector<std::string>{c.name}) << c.what;
        EXPECT_GT(io.renamed_at(), 0) << c.what;
    }
}

TEST(replace_file, partial_writes_and_interruptions_are_continued) {
    struct partial_case {
        const char* what;
        int error;
        outcome expected;
    };
    // A single write call that stores nothing or is interrupted, once.
    class stalling_io : public file_io {
      public:
        explicit stalling_io(int error) : error_(error) {}
        ssize_t write(int fd, const void* data, std::size_t size) override {
            if (++writes_ == 3) {
                if (error_ == 0) return 0;
                errno = error_;
                return -1;
            }
            return file_io::write(fd, data, std::min<std::size_t>(size, 777));
        }

      private:
        int error_;
        int writes_ = 0;
    };
    const partial_case cases[] = {
        {"interrupted write is retried", EINTR, outcome::saved},
        {"a write that stores nothing is a full disk", 0, outcome::disk_full},
    };
    const std::string content(5000, 'k');
    for (const auto& c : cases) {
        temp_dir dir;
        const std::string path = dir.file("kozenic.int");
        write_bytes(path, "old");
        stalling_io io(c.error);
        const save_result r = replace_file(path, content, io);
        EXPECT_EQ(r == save_result::saved ? outcome::saved : outcome::disk_full, c.expected) << c.what;
        EXPECT_EQ(read_bytes(path), c.expected == outcome::saved ? content : "old") << c.what;
        EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"}) << c.what;
    }
}

TEST(replace_file, name_collisions_of_the_temporary_file) {
    temp_dir dir;
    const std::string path = dir.file("2024_5.kzn");
    write_bytes(path, "old");
    {
        faulty_io io;
        io.answer_eexist(5); // five names already taken: the sixth is used
        EXPECT_EQ(replace_file(path, "new", io), save_result::saved);
        EXPECT_EQ(read_bytes(path), "new");
    }
    {
        faulty_io io;
        io.answer_eexist(1000); // every name taken: give up without removing anyone's file
        EXPECT_THROW((void)replace_file(path, "newer", io), std::system_error);
        EXPECT_EQ(io.calls[std::size_t(step::unlink)], 0);
        EXPECT_EQ(read_bytes(path), "new");
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"2024_5.kzn"});
}

TEST(replace_file, a_bare_file_name_is_saved_in_the_current_directory) {
    temp_dir dir;
    const std::string previous = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.path());
    const save_result r = replace_file("kozenic.int", "settings");
    std::filesystem::current_path(previous);
    EXPECT_EQ(r, save_result::saved);
    EXPECT_EQ(read_bytes(dir.file("kozenic.int")), "settings");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kozenic.int"});
}

// A real full disk: a 64 KiB memory file system cannot take a full month
// (160 KB). Needs the right to mount, which CI has.
class small_disk {
  public:
    small_disk() {
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted_) reason_ = std::error_code(errno, std::generic_category()).message();
    }
    ~small_disk() {
        if (mounted_) (void)::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    small_disk(const small_disk&) = delete;
    small_disk& operator=(const small_disk&) = delete;

    [[nodiscard]] bool mounted() const { return mounted_; }
    [[nodiscard]] const std::string& reason() const { return reason_; }
    [[nodiscard]] const temp_dir& dir() const { return dir_; }

  private:
    temp_dir dir_;
    bool mounted_ = false;
    std::string reason_;
};

TEST(month_file_writer, a_real_full_disk_keeps_the_old_file) {
    small_disk disk;
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs: " << disk.reason();
    const shuushi_data full = full_month();
    const struct {
        const char* name;
        outcome expected;
    } cases[] = {{"2024_5.kzn", outcome::disk_full}, {"2024_5.csv", outcome::io_error}};
    for (const auto& c : cases) {
        const std::string path = disk.dir().file(c.name);
        const std::string old_bytes =
            format_of_path(path) == month_format::csv ? encode_csv(small_month()) : encode_kzn(small_month());
        write_bytes(path, old_bytes);
        const save_run run = save(full, path, system_file_io());
        EXPECT_EQ(run.result, c.expected) << c.name;
        if (c.expected == outcome::io_error) {
            EXPECT_EQ(run.error, ENOSPC) << c.name;
        }
        EXPECT_EQ(run.messages, c.expected == outcome::disk_full ? std::vector<std::string>{texts::disk_full}
                                                                 : std::vector<std::string>{})
            << c.name;
        EXPECT_TRUE(run.changed_flag) << c.name;
        EXPECT_EQ(read_bytes(path), old_bytes) << c.name;
    }
    EXPECT_EQ(disk.dir().names(), (std::vector<std::string>{"2024_5.csv", "2024_5.kzn"}));
    // The disk is not broken: a small month still fits.
    const save_run run = save(small_month(), disk.dir().file("2024_5.kzn"), system_file_io());
    EXPECT_EQ(run.result, outcome::saved);
}

} // namespace
} // namespace kozenica
