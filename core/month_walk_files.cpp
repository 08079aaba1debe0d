// The walk's real month files, kept apart from the walk itself so that a
// program that hands the walk its own source does not link the file readers.
#include "file_exists.h"
#include "month_file.h"
#include "month_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <unordered_set>

namespace kozenica {

namespace {

// The regular files a folder lists, by name; none when it cannot be listed.
std::unordered_set<std::string> regular_files_in(const std::string& dir) {
    std::unordered_set<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(dir.c_str()), ::closedir);
    if (!folder) return names;
    while (const dirent* entry = ::readdir(folder.get()))
        if (entry->d_type == DT_REG) names.emplace(entry->d_name);
    return names;
}

class system_source : public month_source {
  public:
    bool exists(std::string_view path) override { return file_exists(path); }
    bool read(std::string_view path, shuushi_data& table, notifier& notify) override {
        return month_file_reader(path, table, notify);
    }
    std::optional<bool> read_if_present(std::string_view path, shuushi_data& table,
                                        notifier& notify) override {
        return month_file_reader_if_present(path, table, notify);
    }
    // A month the folder lists as a regular file exists when it may be read,
    // which one access call tells; any other name (a link, a name the folder
    // spells in other letters, a folder that cannot be listed) takes the whole
    // test. A long range of present months then costs a call a month, not three.
    std::int64_t count_missing(std::string_view dir, std::span<const std::string> paths) override {
        const std::unordered_set<std::string> listed = regular_files_in(std::string(dir));
        std::int64_t missing = 0;
        for (const std::string& path : paths) {
            const bool present = path.starts_with(dir) && listed.contains(path.substr(dir.size()))
                                     ? ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0
                                     : file_exists(path);
            missing += present ? 0 : 1;
        }
        return missing;
    }
};

} // namespace

month_source& system_month_source() {
    static system_source source;
    return source;
}

} // namespace kozenica
