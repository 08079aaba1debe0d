#pragma once
// Every file the program writes goes through replace_file: the whole content
// is written to a temporary file beside the target, synced, closed, renamed
// over the target and the directory synced. On any failure the temporary file
// is removed and the previous file is left byte for byte as it was.

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace kozenica {

// The system calls replace_file makes, so that tests can fail any of them.
class file_io {
  public:
    virtual ~file_io() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual ssize_t read(int fd, void* buffer, std::size_t size);
    virtual int mkdir(const char* path, mode_t mode);
    virtual int link(const char* from, const char* to);
    virtual int fdatasync(int fd);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    virtual ssize_t readlink(const char* path, char* buffer, std::size_t size);
    virtual int lstat(const char* path, struct stat* st);
    virtual int access(const char* path, int mode);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
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
//
// A target that exists without write permission for its owner, or that this
// process may not write, is refused with EACCES and left as it is. A replaced
// file keeps its permission bits, and its owner and group where the system
// lets this process give them (the administrator saving a user's month). Only
// a regular file is replaced: a folder is refused with EISDIR, a pipe, socket
// or device with EPERM. A target that is a symbolic link is followed as
// link_target follows it, and the file it names is replaced in its own
// directory; the link stays.
//
// With a version time (a month file's save), the bytes being replaced are
// first kept as a version of the month (month_versions.h); a version that
// cannot be kept throws std::system_error, a full disk included, and the
// target stays untouched.
[[nodiscard]] save_result replace_file(const std::string& path, std::string_view content,
                                       file_io& io = system_file_io(),
                                       std::optional<std::time_t> version_time = std::nullopt);

// The file a path names once every symbolic link on its last part has been
// followed: the path itself when it is no link or names nothing yet.
// ELOOP (thrown) after 40 links. A link is followed only to what its own
// owner owns: each further link, the file, and for a file not there yet the
// folder it would be made in; anything else throws EACCES. So a user's link to
// months on another disk works, while a link planted in a data folder never
// leads a save, not even the administrator's, to another user's file.
[[nodiscard]] std::string link_target(const std::string& path, file_io& io = system_file_io());

// True for a name replace_file gives its temporary files.
[[nodiscard]] bool is_save_temporary_name(std::string_view name);

// Removes the temporary files replace_file left in the directory (a program
// killed during a save) whose last change lies more than a day before now.
// Only regular files of that name pattern that this process's user owns are
// ever removed; a directory that cannot be read, or a file that cannot be
// removed, is left alone. The number of files removed.
int remove_stale_temporaries(const std::string& directory, std::time_t now, file_io& io = system_file_io());

} // namespace kozenica
