#include "file_exists.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kozenica {

bool file_exists(std::string_view path) {
    const std::string p(path);
    // Only a regular file is opened at all: opening a device may act on it.
    // O_NONBLOCK: a pipe put in the file's place since must not keep the test waiting.
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    return ::close(fd) == 0 && regular;
}

bool other_than_a_file_at(std::string_view path) {
    struct stat st {};
    return ::stat(std::string(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

} // namespace kozenica
