#pragma once
// What the month-file benchmarks share: a notifier that stays quiet, full
// months, a scratch directory of their own, and the plain system calls that
// the program's readers and writers are measured against.
#include "core/month_file.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kozenica::bench {

class silent_notifier : public notifier {
  public:
    void tell(message_kind, std::string_view) override {}
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
};

// A text at its full 20 bytes: the prefix, the number, dots to the end.
inline std::string full_text(const char* prefix, int number) {
    return (prefix + std::to_string(number)).append(20, '.');
}

// A month of all 1999 lines, each filled by fill(line, i) for i from 1.
template <typename Fill> std::unique_ptr<shuushi_data> full_month(Fill fill) {
    auto table = std::make_unique<shuushi_data>();
    table->row_count = max_rows;
    for (int i = 1; i <= max_lines; ++i)
        fill(table->lines[std::size_t(i)], i);
    return table;
}

inline void write_file(const std::string& path, const std::string& bytes, bool sync = false) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        (sync && ::fsync(fd) != 0) || ::close(fd) != 0)
        throw std::runtime_error("cannot write " + path);
}

// The baseline of every read: the best plain way to get a file's bytes into
// memory. The buffer is page-aligned and allocated once, as large as the
// largest file read, so no call allocates or takes a page fault; one pread()
// at offset 0 brings a whole regular file (a read that asks for more than the
// file holds stops at its end), so a file costs open, pread and close.
class plain_reader {
  public:
    explicit plain_reader(std::size_t largest_file)
        : size_((largest_file + page - 1) / page * page + page),
          buffer_(static_cast<char*>(std::aligned_alloc(page, size_))) {
        if (!buffer_) throw std::runtime_error("cannot allocate the read buffer");
        std::memset(buffer_.get(), 0, size_); // every page faulted in now, not while timed
    }

    std::size_t read(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw std::runtime_error("cannot open " + path);
        const ssize_t got = ::pread(fd, buffer_.get(), size_, 0);
        ::close(fd);
        if (got < 0 || std::size_t(got) == size_) throw std::runtime_error("cannot read " + path);
        return std::size_t(got);
    }

  private:
    static constexpr std::size_t page = 4096;
    struct free_deleter {
        void operator()(char* p) const { std::free(p); }
    };
    std::size_t size_;
    std::unique_ptr<char, free_deleter> buffer_;
};

// Drops a file's pages from the page cache, so that its next read comes from
// the disk. The file must have been synced: dirty pages are not dropped.
inline void drop_cached_pages(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const int error = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    if (error != 0) throw std::runtime_error("posix_fadvise failed for " + path);
}

// Puts synced files into the page cache the way a household's months come
// there, read from the disk, and not as their writing left them: how the
// cache holds a file's pages (and so how fast they are copied out) differs
// between the two, and every figure should see the same.
template <typename Paths, typename Reader> void cache_as_read(const Paths& paths, Reader& reader) {
    for (const std::string& path : paths)
        drop_cached_pages(path);
    for (const std::string& path : paths)
        reader.read(path);
}

// The directory the benchmarks make their files in: KOZENICA_BENCH_DIR, else
// the current one. Not the system's temporary directory: that may live in
// memory, where pages cannot be dropped and a cold read means nothing.
inline std::filesystem::path bench_parent_dir() {
    const char* dir = std::getenv("KOZENICA_BENCH_DIR");
    return dir && *dir ? std::filesystem::path(dir) : std::filesystem::current_path();
}

// A fresh directory under the system's temporary one, removed with all it
// holds when the value goes; path ends in its separator.
class scratch_dir {
  public:
    explicit scratch_dir(const char* name) {
        std::string pattern = (bench_parent_dir() / name).string() + "-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern + "/";
    }
    ~scratch_dir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace kozenica::bench
