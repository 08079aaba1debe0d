#include "atomic_file.h"

#include "month_versions.h"

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kozenica {

int file_io::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t file_io::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
ssize_t file_io::read(int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}
int file_io::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}
int file_io::link(const char* from, const char* to) {
    return ::link(from, to);
}
int file_io::fdatasync(int fd) {
    return ::fdatasync(fd);
}
int file_io::fsync(int fd) {
    return ::fsync(fd);
}
int file_io::close(int fd) {
    return ::close(fd);
}
int file_io::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int file_io::unlink(const char* path) {
    return ::unlink(path);
}
ssize_t file_io::readlink(const char* path, char* buffer, std::size_t size) {
    return ::readlink(path, buffer, size);
}
int file_io::lstat(const char* path, struct stat* st) {
    return ::lstat(path, st);
}
int file_io::access(const char* path, int mode) {
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
}
int file_io::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int file_io::fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}

file_io& system_file_io() {
    static file_io io;
    return io;
}

namespace {

// The directory part of a path, with its trailing separator ("" for a bare name).
std::string directory_of(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool is_disk_full(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// A failure on the way to the renamed file: the disk that could not take the
// content is an expected condition, everything else an I/O error.
struct write_failure {
    int error;
};

[[noreturn]] void fail(int error) {
    throw write_failure{error};
}

constexpr std::string_view temp_prefix = ".kozenica-save-";
constexpr std::string_view temp_suffix = ".tmp";
constexpr std::string_view temp_alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t temp_random_chars = 8;

std::string random_suffix() {
    static std::mt19937_64 engine{
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string s(temp_random_chars, 'x');
    for (char& c : s)
        c = temp_alphabet[engine() % temp_alphabet.size()];
    return s;
}

// The temporary file lives beside the target so that the rename stays within
// one file system. Its name starts with a dot and ends in ".tmp": it can never
// be taken for a month file, the settings file or a list file.
// temp_path is set only once the file is ours, so that a failure never
// removes a file of the same name that someone else made.
int create_temporary(file_io& io, const std::string& directory, std::string& temp_path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            directory + std::string(temp_prefix) + random_suffix() + std::string(temp_suffix);
        const int fd = io.open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temp_path = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) fail(errno);
    }
    fail(EEXIST);
}

void write_all(file_io& io, int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = io.write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        // A write that stores nothing at all will not store the rest either.
        if (n == 0) fail(ENOSPC);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Makes the rename itself survive a crash. File systems that cannot sync a
// directory say so with EINVAL; that is no failure of the save.
void sync_directory(file_io& io, const std::string& directory) {
    const std::string dir = directory.empty() ? std::string(".") : directory;
    const int fd = io.open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno == EACCES) return; // a directory we may write but not read
        throw std::system_error(errno, std::generic_category());
    }
    const int synced = io.fsync(fd);
    const int sync_error = errno;
    const int closed = io.close(fd);
    const int close_error = errno;
    if (synced != 0 && sync_error != EINVAL && sync_error != ENOTSUP)
        throw std::system_error(sync_error, std::generic_category());
    if (closed != 0) throw std::system_error(close_error, std::generic_category());
}

// Whoever owns the path itself (a link, not what it leads to).
uid_t owner_of(file_io& io, const std::string& path) {
    struct stat st {};
    if (io.lstat(path.c_str(), &st) != 0) throw std::system_error(errno, std::generic_category());
    return st.st_uid;
}

// What the last link leads to must be its owner's: the file, or where there is
// no file yet, the folder it is to be made in ("." names the folder itself,
// never a link to it).
void require_owner(file_io& io, const std::string& path, uid_t link_owner) {
    struct stat st {};
    if (io.lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) throw std::system_error(errno, std::generic_category());
        if (io.lstat((directory_of(path) + ".").c_str(), &st) != 0)
            throw std::system_error(errno, std::generic_category());
    }
    if (st.st_uid != link_owner) throw std::system_error(EACCES, std::generic_category());
}

} // namespace

std::string link_target(const std::string& path, file_io& io) {
    std::string current = path;
    std::optional<uid_t> link_owner; // of every link followed so far
    for (int links = 0; links < 40; ++links) {
        std::string target(256, '\0');
        ssize_t n = 0;
        while ((n = io.readlink(current.c_str(), target.data(), target.size())) == ssize_t(target.size()))
            target.resize(target.size() * 2); // the name may have been cut
        // EINVAL: no link; ENOENT: nothing there yet, the save creates it.
        if (n < 0) {
            if (errno != EINVAL && errno != ENOENT) throw std::system_error(errno, std::generic_category());
            if (link_owner) require_owner(io, current, *link_owner);
            return current;
        }
        // Every link on the way has the one owner: a link that leads on to
        // someone else's link is not followed.
        const uid_t owner = owner_of(io, current);
        if (link_owner && owner != *link_owner) throw std::system_error(EACCES, std::generic_category());
        link_owner = owner;
        target.resize(std::size_t(n));
        current = target.starts_with('/') ? target : directory_of(current) + target;
    }
    throw std::system_error(ELOOP, std::generic_category());
}

bool is_save_temporary_name(std::string_view name) {
    if (name.size() != temp_prefix.size() + temp_random_chars + temp_suffix.size()) return false;
    if (!name.starts_with(temp_prefix) || !name.ends_with(temp_suffix)) return false;
    const std::string_view middle = name.substr(temp_prefix.size(), temp_random_chars);
    return middle.find_first_not_of(temp_alphabet) == std::string_view::npos;
}

namespace {

// What the file being replaced was, when there is one.
struct existing_file {
    bool exists = false;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

// A file its owner may not write is the user's "do not touch". The program
// may run as the administrator, whom the system lets write any file, so the
// mode bits decide first and the rights of this process only after them.
existing_file check_replaceable(file_io& io, const std::string& target) {
    struct stat st {};
    if (io.lstat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        fail(errno);
    }
    // Only a regular file is replaced: a folder, a pipe, a socket or a device
    // named like one of the program's files is left as it is.
    if (S_ISDIR(st.st_mode)) fail(EISDIR);
    if (!S_ISREG(st.st_mode)) fail(EPERM);
    if ((st.st_mode & S_IWUSR) == 0) fail(EACCES);
    if (io.access(target.c_str(), W_OK) != 0) fail(errno);
    return {true, st.st_mode & 07777, st.st_uid, st.st_gid};
}

// The new file takes the old one's owner and group before its mode (a change
// of owner clears the set-id bits). Only the administrator may give a file
// away; for anyone else a refusal leaves the file theirs, as a new file is.
void take_over(file_io& io, int fd, const existing_file& old) {
    if (old.owner != ::geteuid() || old.group != ::getegid()) (void)io.fchown(fd, old.owner, old.group);
    if (io.fchmod(fd, old.mode) != 0) fail(errno);
}

} // namespace

save_result replace_file(const std::string& path, std::string_view content, file_io& io,
                         std::optional<std::time_t> version_time) {
    const std::string target = link_target(path, io);
    const std::string directory = directory_of(target);
    std::string temp_path;
    std::string version;
    int fd = -1;
    const auto discard = [&] {
        if (fd >= 0) (void)io.close(fd);
        if (!temp_path.empty()) (void)io.unlink(temp_path.c_str());
        // A version of bytes that stay in place would only repeat them.
        if (!version.empty()) (void)io.unlink(version.c_str());
    };
    try {
        const existing_file old = check_replaceable(io, target);
        fd = create_temporary(io, directory, temp_path);
        if (old.exists) take_over(io, fd, old);
        write_all(io, fd, content);
        if (io.fsync(fd) != 0) fail(errno);
        const int to_close = fd;
        fd = -1; // whatever close says, the descriptor is gone
        if (io.close(to_close) != 0) fail(errno);
        if (old.exists && version_time)
            version = keep_month_version(io, path, target, content, *version_time);
        if (io.rename(temp_path.c_str(), target.c_str()) != 0) fail(errno);
    } catch (const write_failure& failure) {
        discard();
        if (is_disk_full(failure.error)) return save_result::disk_full;
        throw std::system_error(failure.error, std::generic_category());
    } catch (const std::system_error&) {
        discard();
        throw;
    }
    if (!version.empty()) sync_version_name(io, version);
    sync_directory(io, directory);
    if (version_time) (void)prune_month_versions(io, path, *version_time);
    return save_result::saved;
}

namespace {

struct directory_closer {
    void operator()(DIR* d) const { ::closedir(d); }
};

} // namespace

int remove_stale_temporaries(const std::string& directory, std::time_t now, file_io& io) {
    constexpr std::time_t one_day = 24 * 60 * 60;
    const std::unique_ptr<DIR, directory_closer> dir(::opendir(directory.empty() ? "." : directory.c_str()));
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!is_save_temporary_name(entry->d_name)) continue;
        const std::string path = directory + entry->d_name;
        struct stat st {};
        if (io.lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (now - st.st_mtime <= one_day) continue; // perhaps a save in progress in another copy
        if (io.unlink(path.c_str()) == 0) ++removed;
    }
    return removed;
}

} // namespace kozenica
