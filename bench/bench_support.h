#pragma once
// What the month-file benchmarks share: a notifier that stays quiet, full
// months, a scratch directory of their own, and the plain system calls that
// the program's readers and writers are measured against.
#include "core/month_file.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
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

// The baseline of every read: the bytes of the file into a buffer that is
// kept between calls.
inline std::size_t plain_read(const std::string& path) {
    static std::vector<char> buffer(1 << 20);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    std::size_t got = 0;
    for (ssize_t r; (r = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;)
        got += std::size_t(r);
    ::close(fd);
    benchmark::DoNotOptimize(buffer.data());
    return got;
}

// A fresh directory under the system's temporary one, removed with all it
// holds when the value goes; path ends in its separator.
class scratch_dir {
  public:
    explicit scratch_dir(const char* name) {
        std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
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
