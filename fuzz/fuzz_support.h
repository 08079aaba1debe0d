#pragma once
// Helpers shared by the fuzz targets: a scratch file for the readers that take
// a path, a notifier that only counts, and a check that stops the fuzzer with
// a readable reason when a property of the result does not hold.

#include "core/month_file.h"
#include "core/notifier.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kozenica::fuzzing {

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

// A file in /dev/shm (or /tmp) named for this process, rewritten for every
// input; the extension chooses the month file format.
inline std::string scratch_path(std::string_view extension) {
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/kozenica-fuzz-" + std::to_string(::getpid()) + std::string(extension);
}

inline void write_whole_file(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = ::write(fd, data + done, size - done);
        FUZZ_CHECK(w > 0);
        done += std::size_t(w);
    }
    FUZZ_CHECK(::close(fd) == 0);
}

class counting_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        ++told;
        last_kind = kind;
        last_text.assign(text);
    }
    bool ask_yes_no(message_kind, std::string_view) override {
        ++asked;
        return false;
    }
    int told = 0;
    int asked = 0;
    message_kind last_kind = message_kind::plain;
    std::string last_text;
};

// The fuzzer's input as a month file at `path`, read into `table`.
inline bool read_as_month(const std::string& path, const std::uint8_t* data, std::size_t size,
                          shuushi_data& table, notifier& notify) {
    write_whole_file(path, data, size);
    return month_file_reader(path, table, notify);
}

// The month as a reader leaves it: the row count and every line in use.
inline bool same_lines(const shuushi_data& a, const shuushi_data& b) {
    if (a.row_count != b.row_count) return false;
    for (int r = 1; r < a.row_count; ++r)
        if (!(a.lines[std::size_t(r)] == b.lines[std::size_t(r)])) return false;
    return true;
}

// What was read saves and reads back unchanged: `encoded`, the month in
// `table` as its writer makes it, goes over the scratch file at `path` and is
// read again.
inline void check_reads_back(const std::string& path, const shuushi_data& table, const std::string& encoded,
                             notifier& notify) {
    write_whole_file(path, reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size());
    static shuushi_data again;
    FUZZ_CHECK(month_file_reader(path, again, notify));
    FUZZ_CHECK(same_lines(table, again));
}

} // namespace kozenica::fuzzing
