#include "atomic_file.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
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

std::string random_suffix() {
    static std::mt19937_64 engine{
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    static constexpr char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(8, 'x');
    for (char& c : s)
        c = alphabet[engine() % (sizeof alphabet - 1)];
    return s;
}

// The temporary file lives beside the target so that the rename stays within
// one file system. Its name starts with a dot and ends in ".tmp": it can never
// be taken for a month file, the settings file or a list file.
// temp_path is set only once the file is ours, so that a failure never
// removes a file of the same name that someone else made.
int create_temporary(file_io& io, const std::string& directory, std::string& temp_path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = directory + ".kozenica-save-" + random_suffix() + ".tmp";
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

} // namespace

save_result replace_file(const std::string& path, std::string_view content, file_io& io) {
    const std::string directory = directory_of(path);
    std::string temp_path;
    int fd = -1;
    try {
        fd = create_temporary(io, directory, temp_path);
        write_all(io, fd, content);
        if (io.fsync(fd) != 0) fail(errno);
        const int to_close = fd;
        fd = -1; // whatever close says, the descriptor is gone
        if (io.close(to_close) != 0) fail(errno);
        if (io.rename(temp_path.c_str(), path.c_str()) != 0) fail(errno);
    } catch (const write_failure& failure) {
        if (fd >= 0) (void)io.close(fd);
        if (!temp_path.empty()) (void)io.unlink(temp_path.c_str());
        if (is_disk_full(failure.error)) return save_result::disk_full;
        throw std::system_error(failure.error, std::generic_category());
    }
    sync_directory(io, directory);
    return save_result::saved;
}

} // namespace kozenica
