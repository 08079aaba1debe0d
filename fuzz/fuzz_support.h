#pragma once
// Helpers shared by the fuzz targets: a scratch file for the readers that take
// a path, a notifier that only counts, and a check that stops the fuzzer with
// a readable reason when a property of the result does not hold.

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

} // namespace kozenica::fuzzing
