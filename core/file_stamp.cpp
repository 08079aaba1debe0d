#include "file_stamp.h"

#include "month_file.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace kozenica {

namespace {

std::int64_t nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

bytes_hash hash_of(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

std::optional<bytes_hash> hash_of_file(const std::string& path) {
    // Only a regular file has bytes to compare; opening a pipe would wait.
    if (!regular_file_at(path)) return std::nullopt;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::nullopt;
    std::string bytes;
    char piece[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file.get())) > 0)
        bytes.append(piece, got);
    if (std::ferror(file.get())) return std::nullopt;
    return hash_of(bytes);
}

bytes_hash month_hash(const shuushi_data& table, std::string_view path) {
    return hash_of(format_of_path(path) == month_format::csv ? encode_csv(table) : encode_kzn(table));
}

month_file_seen seen_now(const shuushi_data& table, const std::string& path) {
    const file_stamp stamp = stamp_of(path);
    return {stamp, stamp.exists ? hash_of_file(path) : std::nullopt, month_hash(table, path), false};
}

bool file_changed_since(const std::string& path, const month_file_seen& seen) {
    const file_stamp now = stamp_of(path);
    if (now == seen.stamp) return false;
    if (!now.exists || !seen.file_bytes) return true;
    return hash_of_file(path) != seen.file_bytes;
}

bool month_changed_since(const shuushi_data& table, std::string_view path, const month_file_seen& seen) {
    return month_hash(table, path) != seen.month;
}

file_stamp stamp_of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true,
            static_cast<std::uint64_t>(st.st_dev),
            static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            nanoseconds(st.st_mtim),
            nanoseconds(st.st_ctim)};
}

bool regular_file_at(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace kozenica
