#pragma once
// What the month file formats share, for the KZN and CSV readers and the
// month file functions that choose between them: opening a month file to be
// read and reading its bytes.

#include "ledger.h"
#include "notifier.h"

#include <cerrno>
#include <cstddef>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kozenica {

// Opens a file to be read, or answers why it cannot: 0 and the open file, or
// the error and -1. Only a regular file is read: a pipe or a device could keep
// the reader waiting or feed it without end. O_NONBLOCK keeps the open of a
// pipe from waiting for a writer; it changes nothing for a regular file.
struct opened {
    int fd = -1;
    int error = 0;
};
[[nodiscard]] opened open_regular(const std::string& path);

class file_handle {
  public:
    // Takes the file open_regular opened; its failure is an I/O error.
    explicit file_handle(opened file) : fd_(file.fd) {
        if (fd_ < 0) throw std::system_error(file.error, std::generic_category());
    }
    explicit file_handle(const std::string& path) : file_handle(open_regular(path)) {}
    ~file_handle() { ::close(fd_); }
    file_handle(const file_handle&) = delete;
    file_handle& operator=(const file_handle&) = delete;

    // Up to n bytes; fewer only at the end of the file.
    std::size_t read_up_to(char* buffer, std::size_t n) {
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::read(fd_, buffer + got, n - got);
            if (r < 0) {
                if (errno == EINTR) continue;
                throw std::system_error(errno, std::generic_category());
            }
            if (r == 0) break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }

  private:
    int fd_;
};

// Lines 1 to row_count - 1, with a row count kept within what the table holds.
[[nodiscard]] std::size_t lines_to_write(const shuushi_data& table);

// The readers of the two formats, each given the file open_regular opened.
// read_kzn: false, after the damaged-file message, for a damaged file.
// read_csv: true when the file holds further lines after the 1999th, which
// the table cannot take.
[[nodiscard]] bool read_kzn(opened from, const std::string& path, shuushi_data& table, notifier& notify);
[[nodiscard]] bool read_csv(opened from, shuushi_data& table);

} // namespace kozenica
