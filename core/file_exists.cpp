#include "file_exists.h"

#include "ledger.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kozenica {

bool file_exists(std::string_view path) {
    const std::string p(cut_bytes(path, path_bytes));
    const int fd = ::open(p.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // A file that nobody may write counts as read-only even for a user whose
    // rights would let the open through (the administrator).
    const bool writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::close(fd) == 0 && regular && writable;
}

} // namespace kozenica
