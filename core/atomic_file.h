#pragma once
// Every file the program writes goes through replace_file: the whole content
// is written to a temporary file beside the target, synced, closed, renamed
// over the target and the directory synced. On any failure the temporary file
// is removed and the previous file is left byte for byte as it was.

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace kozenica {

// The system calls replace_file makes, so that tests can fail any of them.
class file_io {
  public:
    virtual ~file_io() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
};

file_io& system_file_io();

enum class save_result { saved, disk_full };

// disk_full when the disk could not take the whole content (a write, sync or
// close failing with ENOSPC or EDQUOT, or a write storing nothing); a write
// that stores only part is continued with the rest. Every other failure throws
// std::system_error with the system's error code. Before the rename, every
// failure leaves the target untouched and removes the temporary file; a
// failure to sync the directory after the rename throws, with the new content
// already in place.
[[nodiscard]] save_result replace_file(const std::string& path, std::string_view content,
                                       file_io& io = system_file_io());

} // namespace kozenica
