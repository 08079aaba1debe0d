#include "month_versions.h"

#include "month_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kozenica {

namespace {

[[noreturn]] void fail(int error) {
    throw std::system_error(error, std::generic_category());
}

std::string_view name_part(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view extension_of(std::string_view path) {
    const std::string_view name = name_part(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// Closes a descriptor that is still open when a step fails.
struct open_file {
    file_io& io;
    int fd = -1;
    ~open_file() {
        if (fd >= 0) (void)io.close(fd);
    }
    void close() {
        const int to_close = std::exchange(fd, -1); // whatever close says, the descriptor is gone
        if (io.close(to_close) != 0) fail(errno);
    }
};

// The whole file, read straight into the string, which starts as large as
// the file is likely to be (the new content's size) and grows if need be.
std::string read_whole(file_io& io, const std::string& path, std::size_t likely_size) {
    open_file file{io, io.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0)};
    if (file.fd < 0) fail(errno);
    std::string bytes(likely_size + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = io.read(file.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) break;
        got += std::size_t(n);
    }
    file.close();
    bytes.resize(got);
    return bytes;
}

void write_all(file_io& io, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = io.write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC); // a write that stores nothing will not store the rest either
        bytes.remove_prefix(std::size_t(n));
    }
}

void make_folder(file_io& io, const std::string& folder) {
    if (io.mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) fail(errno);
}

// The first name of this second that no file has yet, so that two saves in
// one second keep two versions.
std::string free_version_path(file_io& io, const std::string& folder, std::time_t now,
                              std::string_view extension) {
    for (int sequence = 1; sequence <= 1000; ++sequence) {
        std::string path = folder + version_name({now, sequence}, extension);
        struct stat st {};
        if (io.lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) return path;
            fail(errno);
        }
    }
    fail(EEXIST);
}

// The version's bytes go to a hidden file first, so that a version name
// always holds a whole version.
void write_version(file_io& io, const std::string& path, std::string_view bytes) {
    const std::string folder(path.substr(0, path.rfind('/') + 1));
    const std::string temp = folder + "." + std::string(name_part(path)) + ".tmp";
    open_file file{io, io.open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666)};
    if (file.fd < 0) fail(errno);
    try {
        write_all(io, file.fd, bytes);
        if (io.fsync(file.fd) != 0) fail(errno);
        file.close();
        if (io.rename(temp.c_str(), path.c_str()) != 0) fail(errno);
    } catch (const std::system_error&) {
        (void)io.unlink(temp.c_str());
        throw;
    }
}

// The bytes of a file on the disk; the time of its last rename, which a
// version need not keep, takes no wait for the disk.
void sync_bytes(file_io& io, const std::string& path) {
    open_file file{io, io.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0)};
    if (file.fd < 0 || io.fdatasync(file.fd) != 0) fail(errno);
    file.close();
}

// The replaced file itself becomes the version: the save's rename gives the
// month a new file, and the old one lives on under the version's name alone,
// so its bytes are not written a second time. A file with other names, which
// could still change through them, is copied instead; so is a file that
// cannot be linked there (another file system, one without links).
bool link_version(file_io& io, const std::string& target, const std::string& path) {
    struct stat st {};
    if (io.lstat(target.c_str(), &st) != 0) fail(errno);
    if (st.st_nlink != 1) return false;
    sync_bytes(io, target); // bytes another program wrote may not be on the disk yet
    if (io.link(target.c_str(), path.c_str()) == 0) return true;
    if (errno == EXDEV || errno == EPERM || errno == EMLINK || errno == EOPNOTSUPP) return false;
    fail(errno);
}

struct folder_closer {
    void operator()(DIR* d) const { ::closedir(d); }
};

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, folder_closer> dir(::opendir(folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get()))
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name); // "." "..", and versions being written
    return names;
}

bool read_digits(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

class quiet_notifier : public notifier {
  public:
    void tell(message_kind, std::string_view) override {}
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
};

void read_version(month_version& v, const shuushi_data& in_hand) {
    struct stat st {};
    if (!v.when || ::lstat(v.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    auto table = std::make_unique<shuushi_data>();
    quiet_notifier quiet;
    try {
        if (!month_file_reader(v.path, *table, quiet)) return;
    } catch (const std::system_error&) {
        return; // a version that cannot be opened is listed as unreadable
    }
    for (const shuushi_line& line : month_lines(*table)) {
        v.income += line.income;
        v.expense += line.expense;
    }
    v.difference = count_line_difference(month_lines(*table), month_lines(in_hand));
    v.table = std::move(table);
    v.readable = true;
}

} // namespace

std::string versions_folder(std::string_view month_path) {
    const std::string_view name = name_part(month_path);
    return std::string(month_path.substr(0, month_path.size() - name.size())) + "versions/" +
           std::string(name) + "/";
}

std::string version_name(const version_time& when, std::string_view extension) {
    std::tm local{};
    ::localtime_r(&when.time, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = stamp;
    if (when.sequence > 1) name += "-" + std::to_string(when.sequence);
    return name + std::string(extension);
}

std::optional<version_time> parse_version_name(std::string_view name, std::string_view extension) {
    // YYYYMMDD-HHMMSS, then -N for N from 2, then the month's extension.
    if (!name.ends_with(extension) || name.size() < 15 + extension.size() || name[8] != '-')
        return std::nullopt;
    name.remove_suffix(extension.size());
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, sequence = 1;
    if (!read_digits(name.substr(0, 4), year) || !read_digits(name.substr(4, 2), month) ||
        !read_digits(name.substr(6, 2), day) || !read_digits(name.substr(9, 2), hour) ||
        !read_digits(name.substr(11, 2), minute) || !read_digits(name.substr(13, 2), second))
        return std::nullopt;
    const std::string_view rest = name.substr(15);
    if (!rest.empty() && (rest[0] != '-' || rest.size() < 2 || rest[1] == '0' ||
                          !read_digits(rest.substr(1), sequence) || sequence < 2))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    std::tm local{};
    local.tm_year = year - 1900, local.tm_mon = month - 1, local.tm_mday = day;
    local.tm_hour = hour, local.tm_min = minute, local.tm_sec = second, local.tm_isdst = -1;
    return version_time{std::mktime(&local), sequence};
}

std::string keep_month_version(file_io& io, const std::string& month_path, const std::string& target,
                               std::string_view content, std::time_t now) {
    const std::string replaced = read_whole(io, target, content.size());
    if (replaced == content) return {};
    const std::string folder = versions_folder(month_path);
    make_folder(io, folder.substr(0, folder.size() - name_part(month_path).size() - 1));
    make_folder(io, folder);
    const std::string path = free_version_path(io, folder, now, extension_of(month_path));
    if (!link_version(io, target, path)) write_version(io, path, replaced);
    return path;
}

void sync_version_name(file_io& io, const std::string& version_path) {
    const std::string folder = version_path.substr(0, version_path.rfind('/') + 1);
    open_file dir{io, io.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0)};
    if (dir.fd < 0) fail(errno);
    // A file system that cannot sync a folder says so with EINVAL.
    if (io.fsync(dir.fd) != 0 && errno != EINVAL && errno != ENOTSUP) fail(errno);
    dir.close();
}

int prune_month_versions(file_io& io, const std::string& month_path, std::time_t now) {
    const std::string folder = versions_folder(month_path);
    const std::string_view extension = extension_of(month_path);
    std::vector<std::pair<version_time, std::string>> versions;
    for (std::string& name : names_in(folder))
        if (const auto when = parse_version_name(name, extension))
            versions.emplace_back(*when, std::move(name));
    if (versions.size() <= std::size_t(versions_kept)) return 0;
    std::sort(versions.begin(), versions.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    int removed = 0;
    constexpr std::time_t day = 24 * 60 * 60;
    // Oldest first, so that a removal that fails leaves the newer ones.
    for (std::size_t i = versions.size(); i-- > std::size_t(versions_kept);) {
        const auto& [when, name] = versions[i];
        if (now - when.time < version_days_kept * day) continue;
        const std::string path = folder + name;
        struct stat st {};
        if (io.lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && io.unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::vector<month_version> list_month_versions(const std::string& month_path, const shuushi_data& in_hand) {
    const std::string folder = versions_folder(month_path);
    const std::string_view extension = extension_of(month_path);
    std::vector<month_version> list;
    for (std::string& name : names_in(folder)) {
        month_version v;
        v.path = folder + name;
        v.when = parse_version_name(name, extension);
        v.name = std::move(name);
        read_version(v, in_hand);
        list.push_back(std::move(v));
    }
    std::sort(list.begin(), list.end(), [](const month_version& a, const month_version& b) {
        if (a.when && b.when) return *a.when > *b.when;
        if (a.when || b.when) return bool(a.when);
        return a.name < b.name;
    });
    return list;
}

} // namespace kozenica
